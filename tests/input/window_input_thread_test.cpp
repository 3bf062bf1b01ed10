// Keys and the pointer through the real window layer and presenter thread,
// over the scripted window system.
#include <gtest/gtest.h>

#include <chrono>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "input/key_buffer.h"
#include "input/window_input.h"
#include "support/window_layer_fixture.h"

namespace krgfx {

namespace {

// The GDI driver with the window layer's mouse operations in its slots.
DisplayDriver gdiWithMouse;

class WindowInputThreadTest : public WindowLayerTest {
 protected:
  void SetUp() override {
    WindowLayerTest::SetUp();
    keyBuffer = KeyBuffer{};
    gdiWithMouse = gdiDriver;
    gdiWithMouse.readMouse = windowReadMouse;
    gdiWithMouse.placeMouse = windowPlaceMouse;
    driverTable[1] = &gdiWithMouse;
    openOn("GDI");
    letPresenterRun();
    client = system.clientRectOnScreen();
  }
  WindowMessage keyDown(int32_t virtualKey, int32_t scan, bool enhanced = false) {
    WindowMessage message = scriptedKey(MessageKind::keyDown, virtualKey, scan);
    message.enhanced = enhanced;
    return message;
  }
  void moveTo(int32_t x, int32_t y) {
    system.setPointer(client.left + x, client.top + y);
    WindowMessage message = scriptedMessage(MessageKind::mouseMove);
    message.x = x, message.y = y;
    deliver(message);
  }
  WindowRect client{};
};

}  // namespace

TEST_F(WindowInputThreadTest, KeysAndCharactersReachPollKey) {
  deliver(keyDown(112, 59));
  deliver(keyDown(38, 72, true));
  WindowMessage typed = scriptedMessage(MessageKind::character);
  typed.character = 'a';
  deliver(typed);
  deliver(scriptedMessage(MessageKind::close));
  EXPECT_EQ(pollKey(), std::string("\xFF;"));
  EXPECT_EQ(pollKey(), std::string("\xFFH"));
  EXPECT_EQ(pollKey(), "a");
  EXPECT_EQ(pollKey(), std::string("\xFFk"));
  EXPECT_EQ(pollKey(), "");
  EXPECT_TRUE(system.windowOpen());
}

TEST_F(WindowInputThreadTest, HeldKeysShowInKeyIsDownAfterTheNextRound) {
  uint8_t virtualKeys[256] = {}, scanCodes[256] = {};
  virtualKeys[int{'A'}] = 0x80;
  system.setKeyStates(virtualKeys, scanCodes);
  letPresenterRun();
  EXPECT_EQ(keyIsDown(30), -1);
  virtualKeys[int{'A'}] = 0;
  system.setKeyStates(virtualKeys, scanCodes);
  letPresenterRun();
  EXPECT_EQ(keyIsDown(30), 0);
}

TEST_F(WindowInputThreadTest, ASleepUntilAKeyEndsSoonAfterTheKey) {
  EXPECT_EQ(pollKey(), "");
  std::thread presser([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    system.inject(keyDown(112, 59));
  });
  auto start = std::chrono::steady_clock::now();
  sleepMs(-1);
  auto waited = std::chrono::steady_clock::now() - start;
  presser.join();
  EXPECT_LT(waited, std::chrono::seconds(2));
  EXPECT_EQ(waitKey(), ';' << 8 | 0xFF);
}

TEST_F(WindowInputThreadTest, ThePointerThroughTheDriver) {
  moveTo(320, 240);
  int32_t x = 0, y = 0, wheel = 0, buttons = 0, clip = 0;
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 0);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
  WindowMessage press = scriptedMessage(MessageKind::buttonDown);
  press.button = 1;
  deliver(press);
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 0);
  EXPECT_EQ(buttons, 1);
  moveTo(-20, 240);
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 1);
  EXPECT_EQ(buttons, -1);
  EXPECT_EQ(placeMouse(-5, 9999, 0, 1), 0);
  EXPECT_EQ(system.pointerX(), client.left);
  EXPECT_EQ(system.pointerY(), client.top + 599);
  EXPECT_TRUE(system.confined());
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 0);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 599);
  EXPECT_EQ(clip, 1);
  deliver(scriptedMessage(MessageKind::setCursor));
  EXPECT_FALSE(system.pointerVisible());
}

TEST_F(WindowInputThreadTest, DeactivationEndsTheReport) {
  moveTo(10, 10);
  deliver(scriptedActivation(false));
  int32_t x = 0, y = 0;
  EXPECT_EQ(readMouse(&x, &y, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(x, -1);
  deliver(scriptedActivation(true));
  EXPECT_EQ(readMouse(&x, &y, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(x, 10);
}

}  // namespace krgfx
