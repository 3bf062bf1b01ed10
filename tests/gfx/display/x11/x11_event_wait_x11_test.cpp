// The presenter's wait between rounds on a real X server: what ends it, and
// a program whose frames come after the presenter went quiet.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "gfx/display/x11/x11_connection.h"
#include "support/screen_pixels.h"
#include "support/x11_window_fixture.h"
// After GoogleTest and the back end: Xlib defines None.
#include <X11/extensions/XTest.h>

namespace krgfx {

namespace {

using namespace std::chrono_literals;

constexpr int32_t longWaitMs = 600000;  // far longer than any test runs

class X11EventWait : public X11WindowTest {
 protected:
  void SetUp() override {
    X11WindowTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(useScreen(0));
    ASSERT_TRUE(system.connect(PresentPath::sharedSurface));
    WindowSpec windowSpec{};
    windowSpec.title = "x11-event-wait";
    windowSpec.className = "krgfxclass_00000000";
    windowSpec.x = 20, windowSpec.y = 20, windowSpec.width = 160, windowSpec.height = 120;
    ASSERT_TRUE(system.createWindow(windowSpec));
    drainMessages();
  }

  void drainMessages() {
    system.dispatchMessages([](const WindowMessage&) {});
  }

  // Starts a long wait on another thread; true when it has ended within the
  // generous bound that tells "ended" from "hangs".
  static bool ends(std::future<void>& wait) {
    return wait.wait_for(30s) == std::future_status::ready;
  }

  X11WindowSystem system;
};

// Draws a whole-screen colour the way a program's frame does.
void drawFrame(uint32_t colour) {
  lockScreen();
  GfxScreen& screen = *gfxScreen;
  for (int32_t y = 0; y < screen.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(screenPixels() + static_cast<size_t>(y) * screen.pitch);
    for (int32_t x = 0; x < screen.width; ++x) row[x] = colour;
  }
  unlockScreen(-1, -1);
}

}  // namespace

TEST_F(X11EventWait, AWakeUpEndsTheWaitAndIsNotLostWhenItComesFirst) {
  auto waiting = std::async(std::launch::async, [&] { system.waitForEvents(longWaitMs); });
  std::this_thread::sleep_for(20ms);  // most often the wait has begun by now
  system.wakeWaiter();
  EXPECT_TRUE(ends(waiting));
  // A wake-up while no one waits ends the next wait at once, and only that one.
  system.wakeWaiter();
  system.wakeWaiter();
  auto next = std::async(std::launch::async, [&] { system.waitForEvents(longWaitMs); });
  EXPECT_TRUE(ends(next));
  EXPECT_TRUE(system.quietUntilWoken());
}

TEST_F(X11EventWait, AnEventForTheWindowEndsTheWait) {
  auto waiting = std::async(std::launch::async, [&] { system.waitForEvents(longWaitMs); });
  WindowRect client = system.clientRectOnScreen();
  for (int step = 0; step < 4; ++step)
    XTestFakeMotionEvent(test, 0, client.left + 10 + step, client.top + 10, CurrentTime);
  XSync(test, False);
  EXPECT_TRUE(ends(waiting));
}

TEST_F(X11EventWait, ARunningTimerOrAQueuedEventKeepsThePresenterFromWaitingLong) {
  EXPECT_TRUE(system.quietUntilWoken());
  system.startTimer(7, 1000);
  EXPECT_FALSE(system.quietUntilWoken());
  system.stopTimer(7);
  EXPECT_TRUE(system.quietUntilWoken());
  // Events Xlib read while waiting for a reply sit in its queue, where
  // poll() cannot see them.
  WindowRect client = system.clientRectOnScreen();
  XTestFakeMotionEvent(test, 0, client.left + 30, client.top + 30, CurrentTime);
  XSync(test, False);
  EXPECT_TRUE(eventually([&] {
    int32_t x, y;
    system.pointerPosition(&x, &y);  // a round trip that reads what came meanwhile
    return !system.quietUntilWoken();
  }));
  drainMessages();
  EXPECT_TRUE(system.quietUntilWoken());
}

using X11QuietPresenter = X11WindowTest;

TEST_F(X11QuietPresenter, FramesDrawnAfterTheScreenWentQuietAreShown) {
  ASSERT_TRUE(useScreen(0));
  setenv("KRGFX", "DirectX", 1);
  ASSERT_EQ(openScreen(320, 200, 32, 1, 0, 0), 0);
  Window window = findWindow();
  ASSERT_NE(window, 0u);
  auto shows = [&](unsigned long colour) {
    XImage* image = XGetImage(test, window, 0, 0, 320, 200, AllPlanes, ZPixmap);
    if (!image) return false;
    bool all = true;
    for (int y = 0; y < 200 && all; y += 3)
      for (int x = 0; x < 320 && all; x += 3) all = XGetPixel(image, x, y) == colour;
    XDestroyImage(image);
    return all;
  };
  for (uint32_t colour : {0xFF204060u, 0xFF00FF00u, 0xFF204060u}) {
    std::this_thread::sleep_for(50ms);  // long enough for the presenter to go quiet
    drawFrame(colour);
    EXPECT_TRUE(eventually([&] { return shows(colour & 0xFFFFFF); })) << std::hex << colour;
  }
}

}  // namespace krgfx
