// A fixture for tests on a real X server ($DISPLAY): the real drivers, the
// test's own connection to find the program's window and read it back.
#pragma once

#include "support/presenter_threads.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "gfx/display/window_layer.h"
#include "screen_fixture.h"
#include "x11_test_client.h"

namespace krgfx {

class X11WindowTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    testing_drivers::uninstall();  // the real driver table
    SKIP_WITHOUT_X_SERVER();
    const char* display = std::getenv("DISPLAY");
    baseDisplay = display;
    // The base display without a screen number: ":77" of ":77.0".
    std::string::size_type dot = baseDisplay.find('.', baseDisplay.find(':'));
    if (dot != std::string::npos) baseDisplay.erase(dot);
  }
  void TearDown() override {
    closeScreen();
    if (test) XCloseDisplay(test);
    if (!baseDisplay.empty()) setenv("DISPLAY", baseDisplay.c_str(), 1);
    ScreenTest::TearDown();
  }

  // Points the program and the test at one screen of the X server.
  bool useScreen(int screen) {
    std::string name = baseDisplay + "." + std::to_string(screen);
    setenv("DISPLAY", name.c_str(), 1);
    if (test) XCloseDisplay(test);
    test = XOpenDisplay(name.c_str());
    // A compositor draws its pointer into the picture read back: out of
    // the way, to the corner of its output, where no window is.
    XWindowAttributes attributes{};
    Window compositor = test && onCompositor() ? compositorWindow(test) : 0;
    if (compositor && XGetWindowAttributes(test, compositor, &attributes)) {
      XWarpPointer(test, None, compositor, 0, 0, 0, 0, attributes.width - 1, attributes.height - 1);
      XSync(test, False);
    }
    return test != nullptr;
  }

  // The process that says it owns a window (_NET_WM_PID), 0 when none does.
  long ownerOf(Window window) {
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(test, window, XInternAtom(test, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && count == 1)
      pid = *reinterpret_cast<long*>(data);
    if (data) XFree(data);
    return pid;
  }

  // The program's window: a child of the root whose class starts
  // "krgfxclass_"; on a compositor, the compositor's own window while the
  // program shows one.
  Window findWindow() {
    if (onCompositor()) return presenterRunning ? compositorWindow(test) : 0;
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XSync(test, False);
    if (!XQueryTree(test, DefaultRootWindow(test), &rootReturn, &parent, &children, &count))
      return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
      XClassHint hint{};
      if (ownerOf(children[i]) == getpid() && XGetClassHint(test, children[i], &hint)) {
        if (hint.res_class && std::string(hint.res_class).rfind("krgfxclass_", 0) == 0)
          found = children[i];
        XFree(hint.res_name);
        XFree(hint.res_class);
      }
    }
    if (children) XFree(children);
    return found;
  }

  // Polls until `done` holds or two seconds pass.
  static bool eventually(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
  }

  static int presenterThreads() { return presenterThreadCount(); }

  // Where the program's client area lies in `window` as findWindow found
  // it: all of it on X11; on a compositor whose shell centres a window
  // (weston's kiosk shell), the client area in the middle of its output.
  ClientArea clientArea(Window window) {
    XWindowAttributes attributes{};
    if (!window || !XGetWindowAttributes(test, window, &attributes)) return {};
    if (!onCompositor()) return {0, 0, attributes.width, attributes.height};
    int32_t width = windowLayer.clientWidth, height = windowLayer.clientHeight;
    return {(attributes.width - width) / 2, (attributes.height - height) / 2, width, height};
  }

  std::string baseDisplay;
  Display* test = nullptr;
};

}  // namespace krgfx
