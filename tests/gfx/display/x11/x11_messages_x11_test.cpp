// The X11 window system's messages as the window procedure handles them, on a
// real X server, with the test's own connection moving the pointer (XTest).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "gfx/display/x11/x11_connection.h"
#include "gfx/screen.h"
#include "input/window_input.h"
#include "support/screen_fixture.h"
#include "support/x11_test_client.h"
// After GoogleTest and the back end: Xlib defines None.
#include <X11/extensions/XTest.h>

namespace krgfx {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int32_t windowX = 40, windowY = 30, width = 200, height = 150;

class X11Messages : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    SKIP_WITHOUT_X_SERVER();
    test = XOpenDisplay(nullptr);
    ASSERT_NE(test, nullptr);
    ASSERT_EQ(openScreen(width, height, 32, 1, flagNoDisplay, 0), 0);  // no window of its own
    ASSERT_TRUE(system.connect(PresentPath::clientPixels));
    WindowSpec windowSpec{};
    windowSpec.title = "x11-messages";
    windowSpec.className = "krgfxclass_00000000";
    windowSpec.x = windowX, windowSpec.y = windowY, windowSpec.width = width,
    windowSpec.height = height;
    ASSERT_TRUE(system.createWindow(windowSpec));
    windowLayer = WindowLayer{};
    windowLayer.system = &system;
    windowLayer.width = width, windowLayer.height = height;
    windowLayer.windowActive = 1;
    windowLayer.repaint = [] {};
    mouseState = MouseState{};
    resetMouseForWindowLayer();
  }
  void TearDown() override {
    windowLayer = WindowLayer{};
    if (test) XCloseDisplay(test);
    ScreenTest::TearDown();
  }

  // Moves the real pointer to a client position of the window.
  void movePointer(int32_t x, int32_t y) {
    WindowRect client = system.clientRectOnScreen();
    XTestFakeMotionEvent(test, DefaultScreen(test), client.left + x, client.top + y, CurrentTime);
    XSync(test, False);
  }
  // Hands every message of the next 100 ms to the window procedure.
  void dispatchForAWhile() {
    auto end = Clock::now() + 100ms;
    while (Clock::now() < end) {
      system.dispatchMessages(countingProcedure);
      std::this_thread::sleep_for(2ms);
    }
  }
  // The window procedure, counting the requests that pointer moves cost.
  static void countingProcedure(const WindowMessage& message) {
    auto& system = static_cast<X11WindowSystem&>(*windowLayer.system);
    unsigned long before = system.requestsSent();
    windowProcedure(message);
    if (message.kind != MessageKind::mouseMove) return;
    moves()++;
    moveRequests() += system.requestsSent() - before;
  }
  static int& moves() {
    static int count;
    return count;
  }
  static unsigned long& moveRequests() {
    static unsigned long count;
    return count;
  }

  Display* test = nullptr;
  X11WindowSystem system;
};

}  // namespace

// A pointer event carries where the pointer is and the window's position is
// kept: handling a move asks the server nothing while the program waits for
// the lock.
TEST_F(X11Messages, PointerMovesAreHandledWithoutAskingTheServer) {
  movePointer(10, 10);
  dispatchForAWhile();
  moves() = 0;
  moveRequests() = 0;
  for (int i = 0; i < 100; ++i) movePointer(20 + i, 30 + i % 50);
  dispatchForAWhile();
  EXPECT_GE(moves(), 100);
  EXPECT_EQ(moveRequests(), 0u) << "over " << moves() << " moves";
  EXPECT_EQ(mouseState.mouseInside, 1);
  EXPECT_EQ(mouseState.mouseX, 119);
  EXPECT_EQ(mouseState.mouseY, 30 + 99 % 50);
}

// While the window has the keyboard its key events keep the key state:
// reading it asks the server nothing. Outside, the server is asked.
TEST_F(X11Messages, KeyStateFollowsTheKeyEventsWhileTheWindowHasTheKeyboard) {
  const KeyCode up = XKeysymToKeycode(test, XK_Up), shift = XKeysymToKeycode(test, XK_Shift_L);
  auto fake = [&](KeyCode code, bool press) {
    XTestFakeKeyEvent(test, code, press, CurrentTime);
    XSync(test, False);
    dispatchForAWhile();
  };
  uint8_t state[256];
  auto readState = [&] {
    unsigned long before = system.requestsSent();
    system.scanCodeState(state);
    return system.requestsSent() - before;
  };
  movePointer(50, 50);  // the new window has the keyboard
  dispatchForAWhile();
  readState();  // asks the server once
  fake(up, true);
  EXPECT_EQ(readState(), 0u);
  EXPECT_EQ(state[72 + 128], 0x80);
  fake(shift, true);
  fake(up, false);
  EXPECT_EQ(readState(), 0u);
  EXPECT_EQ(state[72 + 128], 0);
  EXPECT_EQ(state[42], 0x80);
  fake(shift, false);
  EXPECT_EQ(readState(), 0u);
  EXPECT_EQ(state[42], 0);

  // Keys pressed while the keyboard is elsewhere.
  XSetInputFocus(test, DefaultRootWindow(test), RevertToPointerRoot, CurrentTime);
  XSync(test, False);
  dispatchForAWhile();
  fake(up, true);
  EXPECT_GT(readState(), 0u);
  EXPECT_EQ(state[72 + 128], 0x80);
  fake(up, false);
  readState();
  EXPECT_EQ(state[72 + 128], 0);
}

}  // namespace krgfx
