// Keyboard and mouse messages delivered over the scripted window system to
// the input side of the window procedure, with a screen open on a driver
// whose mouse operations are the window layer's.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <krgfx/input.h>
#include "gfx/display/window_layer.h"
#include "gfx/screen.h"
#include "input/key_buffer.h"
#include "input/window_input.h"
#include "support/screen_fixture.h"
#include "support/scripted_window_system.h"

namespace krgfx {

class WindowInputTest : public ScreenTest {
 protected:
  // Where the scripted window puts the client area's top-left corner.
  static constexpr int32_t clientLeft = 100 + ScriptedWindowSystem::frameSide;
  static constexpr int32_t clientTop = 50 + ScriptedWindowSystem::frameTop;

  void SetUp() override {
    ScreenTest::SetUp();
    keyBuffer = KeyBuffer{};
    mouseState = MouseState{};
    leaveTrackingByTimer = false;
    driverTable[1] = &windowMouseDriver;
    ASSERT_EQ(openScreen(800, 600, 32, 1, 0, 0), 0);
    WindowSpec windowSpec{};
    windowSpec.x = 100, windowSpec.y = 50, windowSpec.width = 800, windowSpec.height = 600;
    ASSERT_TRUE(system.createWindow(windowSpec));
    windowLayer.system = &system;
    windowLayer.width = 800;
    windowLayer.height = 600;
    windowLayer.windowActive = 1;
    resetMouseForWindowLayer();
    pointAt(400, 300);
  }
  void TearDown() override {
    windowLayer.system = nullptr;
    windowLayer.windowActive = 0;
    ScreenTest::TearDown();
  }

  // Delivers messages as the window procedure does: where the pointer is
  // first, then the keyboard or mouse part.
  void deliver(const WindowMessage& message) {
    system.inject(message);
    system.dispatchMessages(procedure);
  }
  static void procedure(const WindowMessage& message) {
    WindowSystem& windowSystem = *windowLayer.system;
    notePointerPosition(windowSystem, message);
    switch (message.kind) {
      case MessageKind::keyDown:
      case MessageKind::keyUp:
      case MessageKind::systemKeyDown:
      case MessageKind::systemKeyUp:
      case MessageKind::character:
        lastAnswer() = handleKeyboardMessage(message);
        break;
      case MessageKind::activate:
        windowLayer.windowActive = message.active && !message.minimised;
        handleInputActivation(windowSystem, windowLayer.windowActive);
        break;
      default:
        handleMouseMessage(windowSystem, message);
    }
  }
  static bool& lastAnswer() {
    static bool answer;
    return answer;
  }

  // --- Keys ---
  // Modifier keys held, by virtual key.
  void hold(std::initializer_list<int32_t> keys) {
    uint8_t virtualKeys[256] = {}, scanCodes[256] = {};
    for (int32_t key : keys) virtualKeys[key] = 0x80;
    system.setKeyStates(virtualKeys, scanCodes);
  }
  static WindowMessage key(MessageKind kind, int32_t virtualKey, int32_t scan,
                           uint8_t character = 0, uint8_t unshifted = 0, bool enhanced = false) {
    WindowMessage message = scriptedKey(kind, virtualKey, scan);
    message.character = character;
    message.unshiftedCharacter = unshifted;
    message.enhanced = enhanced;
    return message;
  }
  bool press(int32_t virtualKey, int32_t scan, uint8_t character = 0, uint8_t unshifted = 0,
             bool enhanced = false) {
    deliver(key(MessageKind::keyDown, virtualKey, scan, character, unshifted, enhanced));
    return lastAnswer();
  }
  bool systemPress(int32_t virtualKey, int32_t scan, uint8_t character = 0, uint8_t unshifted = 0) {
    deliver(key(MessageKind::systemKeyDown, virtualKey, scan, character, unshifted));
    return lastAnswer();
  }
  void type(uint8_t character, int32_t repeat = 1) {
    WindowMessage message = scriptedMessage(MessageKind::character);
    message.character = character;
    message.repeatCount = repeat;
    deliver(message);
  }

  // --- Pointer ---
  // Puts the real pointer at a client position and sends the move message.
  void moveTo(int32_t x, int32_t y) {
    pointAt(x, y);
    WindowMessage message = scriptedMessage(MessageKind::mouseMove);
    message.x = x, message.y = y;
    deliver(message);
  }
  void pointAt(int32_t x, int32_t y) { system.setPointer(clientLeft + x, clientTop + y); }
  void button(MessageKind kind, int32_t bit) {
    WindowMessage message = scriptedMessage(kind);
    message.button = bit;
    deliver(message);
  }
  void wheel(MessageKind kind, int32_t delta) {
    WindowMessage message = scriptedMessage(kind);
    message.wheelDelta = delta;
    deliver(message);
  }
  void activate(bool active, bool minimised = false) {
    deliver(scriptedActivation(active, minimised));
  }

  struct Report {
    int32_t result, x, y, wheel, buttons, clip;
  };
  static Report report() {
    Report r{};
    r.result = readMouse(&r.x, &r.y, &r.wheel, &r.buttons, &r.clip);
    return r;
  }
  static void expectNoReport(const Report& r) {
    EXPECT_EQ(r.result, 1);
    for (int32_t value : {r.x, r.y, r.wheel, r.buttons, r.clip}) EXPECT_EQ(value, -1);
  }

  // --- Events ---
  static std::vector<ScreenEvent> takeEvents() {
    std::vector<ScreenEvent> events;
    for (int32_t i = gfxScreen->eventHead; i != gfxScreen->eventTail; i = (i + 1) & 127)
      events.push_back(gfxScreen->events[i]);
    gfxScreen->eventHead = gfxScreen->eventTail;
    return events;
  }
  static std::vector<int32_t> takeEventTypes() {
    std::vector<int32_t> types;
    for (const ScreenEvent& event : takeEvents()) types.push_back(event.type);
    return types;
  }

  ScriptedWindowSystem system;

 private:
  static void doNothing() {}
  static int32_t init(const char*, int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
  static constexpr DisplayDriver windowMouseDriver = {
      .name = "GDI",
      .init = init,
      .exit = doNothing,
      .lock = doNothing,
      .unlock = doNothing,
      .setPaletteEntry = nullptr,
      .waitRetrace = nullptr,
      .readMouse = windowReadMouse,
      .placeMouse = windowPlaceMouse,
      .setTitle = nullptr,
      .moveWindow = nullptr,
      .listModes = nullptr,
      .showPage = nullptr,
      .pumpInput = nullptr,
  };
};

inline bool operator==(const ScreenEvent& a, const ScreenEvent& b) {
  return a.type == b.type && a.word1 == b.word1 && a.word2 == b.word2 && a.word3 == b.word3 &&
         a.word4 == b.word4;
}

}  // namespace krgfx
