// The frame libdecor draws round a window on a compositor that draws none
// (weston's desktop shell, tools/wayland_tests.sh): it is there round the
// picture, its close button gives windowCloseKey and its maximise button
// switches to full screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include "gfx/display/window_layer.h"
#include "input/key_buffer.h"
#include "support/screen_pixels.h"
#include "support/x11_window_fixture.h"
// After GoogleTest: Xlib defines None.
#include <X11/extensions/XTest.h>

namespace krgfx {

namespace {

constexpr uint32_t pictureColour = 0x12AB34;
// Where the frame's buttons sit: in its title bar above the picture,
// counted from the picture's top-right corner.
constexpr int titleMiddle = 12, closeButtonMiddle = 16, maximiseButtonMiddle = 48;

struct Found {
  int left = 0, top = 0, right = -1, bottom = -1;  // the picture in the compositor's window
  bool titleBarFlat = false;                       // one colour just above the picture, unlike it
};

class CompositorFrame : public X11WindowTest {
 protected:
  void SetUp() override {
    X11WindowTest::SetUp();
    const char* shell = std::getenv("KRGFX_TEST_SHELL");
    if (!onCompositor() || !shell || std::strcmp(shell, "desktop") != 0)
      GTEST_SKIP() << "needs weston's desktop shell (tools/wayland_tests.sh)";
  }

  void openFilled(int32_t flags = 0) {
    ASSERT_TRUE(useScreen(0));
    setenv("KRGFX", "GDI", 1);
    ASSERT_EQ(openScreen(320, 200, 32, 1, flags, 0), 0);
    lockScreen();
    for (int32_t y = 0; y < 200; ++y)
      for (int32_t x = 0; x < 320; ++x)
        reinterpret_cast<uint32_t*>(screenPixels() + y * gfxScreen->pitch)[x] = 0xFF000000u |
                                                                                pictureColour;
    unlockScreen(-1, -1);
  }

  // The picture's place in the compositor's window (where the shell put
  // it) and what lies just above it.
  Found find() {
    Found found;
    Window window = compositorWindow(test);
    XWindowAttributes attributes{};
    if (!window || !XGetWindowAttributes(test, window, &attributes)) return found;
    XImage* image = XGetImage(test, window, 0, 0, attributes.width, attributes.height, AllPlanes,
                              ZPixmap);
    if (!image) return found;
    found.left = attributes.width;
    found.top = attributes.height;
    for (int y = 0; y < attributes.height; ++y)
      for (int x = 0; x < attributes.width; ++x)
        if (XGetPixel(image, x, y) == pictureColour) {
          found.left = std::min(found.left, x);
          found.top = std::min(found.top, y);
          found.right = std::max(found.right, x);
          found.bottom = std::max(found.bottom, y);
        }
    if (found.right - found.left == 319 && found.bottom - found.top == 199 && found.top >= 2) {
      // Most of the row (the title's letters aside) one colour.
      unsigned long bar = XGetPixel(image, found.right, found.top - 2);
      int same = 0;
      for (int x = found.left; x <= found.right; ++x)
        same += XGetPixel(image, x, found.top - 2) == bar;
      found.titleBarFlat = bar != pictureColour && same * 10 >= 320 * 8;
    }
    XDestroyImage(image);
    return found;
  }

  // A left click at (x, y) of the compositor's window.
  void clickAt(int x, int y) {
    Window child;
    int rootX, rootY;
    XTranslateCoordinates(test, compositorWindow(test), DefaultRootWindow(test), x, y, &rootX,
                          &rootY, &child);
    XTestFakeMotionEvent(test, DefaultScreen(test), rootX, rootY, 0);
    XSync(test, False);
    // The frame learns which button is under the pointer from its motion.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    XTestFakeButtonEvent(test, 1, True, 0);
    XTestFakeButtonEvent(test, 1, False, 0);
    XSync(test, False);
  }

  static bool takesCloseKey() {
    for (int32_t key = takeKey(); key != 0; key = takeKey())
      if (key == windowCloseKey) return true;
    return false;
  }
};

}  // namespace

TEST_F(CompositorFrame, TheFrameStandsAboveThePictureAndItsCloseButtonGivesTheCloseKey) {
  openFilled();
  Found found;
  ASSERT_TRUE(eventually([&] { return (found = find()).right - found.left == 319; }))
      << "picture not found whole";
  EXPECT_EQ(found.bottom - found.top, 199);
  EXPECT_TRUE(found.titleBarFlat) << "no title bar above the picture";
  clickAt(found.right - closeButtonMiddle, found.top - titleMiddle);
  EXPECT_TRUE(eventually(takesCloseKey));
}

TEST_F(CompositorFrame, TheMaximiseButtonSwitchesToFullScreen) {
  openFilled();
  Found found;
  ASSERT_TRUE(eventually([&] { return (found = find()).right - found.left == 319; }));
  clickAt(found.right - maximiseButtonMiddle, found.top - titleMiddle);
  EXPECT_TRUE(eventually([] { return (windowLayer.flags & flagFullScreen) != 0; }));
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(test, compositorWindow(test), &attributes));
  EXPECT_TRUE(eventually([&] { return windowLayer.clientWidth == attributes.width; }))
      << windowLayer.clientWidth;
}

// A window without a frame gets none: nothing flat stands above it.
TEST_F(CompositorFrame, AFramelessWindowHasNoTitleBar) {
  openFilled(flagNoFrame);
  Found found;
  ASSERT_TRUE(eventually([&] { return (found = find()).right - found.left == 319; }));
  EXPECT_FALSE(found.titleBarFlat);
}

}  // namespace krgfx
