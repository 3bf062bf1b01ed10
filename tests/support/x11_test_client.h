// What the tests' own X connections do to the windows under test.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace krgfx {

// Why a test that needs an X server cannot run here; empty when it can. A
// run that names its own server in $KRGFX_TEST_DISPLAY (tools/test.sh) never
// skips: that server not answering is a failure. Elsewhere, no $DISPLAY or no
// server answering there is a reason to skip.
inline std::string whyNoXServer() {
  const char* testDisplay = std::getenv("KRGFX_TEST_DISPLAY");
  if (testDisplay && *testDisplay) return {};
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return "needs an X server, and $DISPLAY is not set";
  Display* probe = XOpenDisplay(nullptr);
  if (!probe) return std::string("needs an X server, and none answers on ") + display;
  XCloseDisplay(probe);
  return {};
}

// Skips the current test (from a test body or SetUp) when there is no X server.
#define SKIP_WITHOUT_X_SERVER()                                                       \
  do {                                                                                \
    if (std::string why = ::krgfx::whyNoXServer(); !why.empty()) GTEST_SKIP() << why; \
  } while (false)

// Test connections walk the server's window tree while Wine or the runtime
// makes and destroys windows: a window can vanish between listing and query.
// Such errors are expected (the query answers 0 and the caller looks again);
// any other X error still ends the test program loudly.
inline int toleratingVanishedWindows(Display*, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  std::fprintf(stderr, "X error %d (request %d)\n", error->error_code, error->request_code);
  std::abort();
}

// The program's window system runs on a Wayland compositor shown in a window
// of this X server (tools/test.sh sets KRGFX_TEST_COMPOSITOR): the tests read
// back and inject input through that window.
inline bool onCompositor() {
  const char* compositor = std::getenv("KRGFX_TEST_COMPOSITOR");
  return compositor && *compositor;
}

// The first shown child of the root that `accept` takes (given the window and
// its attributes), 0 when none does.
template <typename Accept>
Window findShownTopLevel(Display* display, Accept accept) {
  Window rootReturn, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count))
    return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable && accept(children[i], attributes))
      found = children[i];
  }
  if (children) XFree(children);
  return found;
}

// The compositor's window: a shown child of the root whose class is weston's.
inline Window compositorWindow(Display* display) {
  return findShownTopLevel(display, [display](Window window, const XWindowAttributes&) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return false;
    bool weston = hint.res_class && std::string(hint.res_class) == "Weston Compositor";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return weston;
  });
}

// A rectangle of a window: where the program's client area shows.
struct ClientArea {
  int x = 0, y = 0, width = 0, height = 0;
};

// What a window manager sends when the user clicks the close button.
inline void askWindowToClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

}  // namespace krgfx
