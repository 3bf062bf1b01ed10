// Key events of a real X server, injected with XTest into a window of the
// test's own, turned into the window procedure's messages.
// GoogleTest before Xlib, whose None macro it would trip over.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "gfx/display/x11/x11_key_events.h"
#include "input/key_codes.h"
#include "support/x11_test_client.h"

namespace krgfx {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The server resets when its last client leaves and refuses connections
// meanwhile: try again for a while.
Display* openDisplay() {
  auto end = Clock::now() + 3s;
  Display* display = XOpenDisplay(nullptr);
  while (!display && Clock::now() < end) {
    std::this_thread::sleep_for(20ms);
    display = XOpenDisplay(nullptr);
  }
  return display;
}

class X11KeyEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_X_SERVER();
    display = openDisplay();
    ASSERT_NE(display, nullptr);
    int event, error, major, minor;
    ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
    ASSERT_TRUE(enableDetectableAutoRepeat(display));
    XSetWindowAttributes attributes{};
    attributes.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask;
    window = XCreateWindow(display, DefaultRootWindow(display), 20, 20, 100, 100, 0, CopyFromParent,
                           InputOutput, CopyFromParent, CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent mapped;
    XWindowEvent(display, window, StructureNotifyMask, &mapped);
    while (mapped.type != MapNotify) XWindowEvent(display, window, StructureNotifyMask, &mapped);
    XWarpPointer(display, None, window, 0, 0, 0, 0, 50, 50);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
  }
  void TearDown() override {
    if (!display) return;
    for (KeyCode code : spareKeys) setKeysym(code, NoSymbol);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
  }

  KeyCode keycode(KeySym keysym) {
    KeyCode code = XKeysymToKeycode(display, keysym);
    EXPECT_NE(code, 0) << "no key for keysym " << keysym;
    return code;
  }
  void fake(KeySym keysym, bool down) {
    XTestFakeKeyEvent(display, keycode(keysym), down, CurrentTime);
  }
  void tap(KeySym keysym) {
    fake(keysym, true);
    fake(keysym, false);
  }
  // The messages of every key event that arrives within a short while.
  std::vector<WindowMessage> messages() {
    XSync(display, False);
    std::vector<WindowMessage> result;
    auto quiet = Clock::now() + 150ms;
    while (Clock::now() < quiet) {
      if (!XPending(display)) {
        std::this_thread::sleep_for(2ms);
        continue;
      }
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
      if (event.type == KeyPress || event.type == KeyRelease) keys.translate(event.xkey, result);
      quiet = Clock::now() + 150ms;
    }
    return result;
  }
  // A key code without symbols, given one for the test.
  KeyCode spareKeyFor(KeySym keysym) {
    int first, last;
    XDisplayKeycodes(display, &first, &last);
    for (int code = last; code >= first; --code) {
      bool taken = false;
      for (KeyCode used : spareKeys) taken |= used == code;
      if (taken || XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0) != NoSymbol)
        continue;
      spareKeys.push_back(static_cast<KeyCode>(code));
      setKeysym(static_cast<KeyCode>(code), keysym);
      return static_cast<KeyCode>(code);
    }
    ADD_FAILURE() << "no spare key code";
    return 0;
  }
  void setKeysym(KeyCode code, KeySym keysym) {
    XChangeKeyboardMapping(display, code, 1, &keysym, 1);
    XSync(display, False);
  }

  Display* display = nullptr;
  Window window = 0;
  X11KeyTranslator keys;
  std::vector<KeyCode> spareKeys;
};

struct Expected {
  MessageKind kind;
  int32_t virtualKey, scanCode;
  uint8_t character;
  bool enhanced;
};

void expectMessages(const std::vector<WindowMessage>& actual,
                    const std::vector<Expected>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].kind, expected[i].kind);
    EXPECT_EQ(actual[i].character, expected[i].character);
    EXPECT_EQ(actual[i].repeatCount, 1);
    if (expected[i].kind == MessageKind::character) continue;
    EXPECT_EQ(actual[i].virtualKey, expected[i].virtualKey);
    EXPECT_EQ(actual[i].scanCode, expected[i].scanCode);
    EXPECT_EQ(actual[i].enhanced, expected[i].enhanced);
  }
}

constexpr auto down = MessageKind::keyDown;
constexpr auto up = MessageKind::keyUp;
constexpr auto typed = MessageKind::character;

}  // namespace

TEST_F(X11KeyEvents, KeysOfTheUsKeyboard) {
  tap(XK_a);
  tap(XK_F1);
  tap(XK_Up);
  tap(XK_Escape);
  tap(XK_Delete);
  expectMessages(messages(), {{down, 'A', 30, 'a', false},
                              {typed, 0, 0, 'a', false},
                              {up, 'A', 30, 0, false},
                              {down, 112, 59, 0, false},
                              {up, 112, 59, 0, false},
                              {down, 38, 72, 0, true},
                              {up, 38, 72, 0, true},
                              {down, 27, 1, 27, false},
                              {typed, 0, 0, 27, false},
                              {up, 27, 1, 0, false},
                              {down, 46, 83, 0, true},
                              {up, 46, 83, 0, true}});
}

TEST_F(X11KeyEvents, ModifiersChangeWhatIsTyped) {
  fake(XK_Shift_L, true);
  tap(XK_a);
  fake(XK_Shift_L, false);
  fake(XK_Control_L, true);
  tap(XK_a);
  fake(XK_Control_L, false);
  std::vector<WindowMessage> result = messages();
  ASSERT_EQ(result.size(), 10u);
  EXPECT_EQ(result[0].virtualKey, virtualKeyShift);
  EXPECT_EQ(result[2].character, 'A');  // the character message of Shift+a
  EXPECT_EQ(result[7].character, 1);    // Ctrl+a types 0x01
  EXPECT_EQ(result[7].kind, MessageKind::character);
}

TEST_F(X11KeyEvents, AltMakesSystemKeysThatTypeNothing) {
  fake(XK_Alt_L, true);
  tap(XK_x);
  tap(XK_F4);
  fake(XK_Alt_L, false);
  tap(XK_F10);
  std::vector<WindowMessage> result = messages();
  ASSERT_EQ(result.size(), 8u);
  for (const WindowMessage& message : result) EXPECT_NE(message.kind, MessageKind::character);
  EXPECT_EQ(result[0].kind, MessageKind::systemKeyDown);  // Alt
  EXPECT_EQ(result[1].kind, MessageKind::systemKeyDown);  // x
  EXPECT_EQ(result[1].virtualKey, 'X');
  EXPECT_EQ(result[3].virtualKey, 115);
  EXPECT_EQ(result[5].kind, MessageKind::systemKeyUp);    // Alt released
  EXPECT_EQ(result[6].kind, MessageKind::systemKeyDown);  // F10
}

// Holds a key past the server's auto-repeat delay: one press, then only
// repeats with the previous-state bit, one release at the end.
void expectRepeatsOfAHeldKey(const std::vector<WindowMessage>& result) {
  ASSERT_GE(result.size(), 5u) << "no auto-repeat from the server";
  EXPECT_FALSE(result[0].wasDown);
  for (size_t i = 0; i + 1 < result.size(); ++i) {
    if (result[i].kind == MessageKind::character) continue;
    EXPECT_EQ(result[i].kind, MessageKind::keyDown) << i;
    EXPECT_EQ(result[i].wasDown, i > 0) << i;
  }
  EXPECT_EQ(result.back().kind, MessageKind::keyUp);
}

TEST_F(X11KeyEvents, AHeldKeyRepeatsWithoutReleases) {
  KeyCode a = keycode(XK_a);
  XTestFakeKeyEvent(display, a, True, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(1000ms);
  XTestFakeKeyEvent(display, a, False, CurrentTime);
  expectRepeatsOfAHeldKey(messages());
}

TEST_F(X11KeyEvents, RepeatsWithoutDetectableAutoRepeatLoseTheirReleases) {
  Bool supported;
  XkbSetDetectableAutoRepeat(display, False, &supported);
  KeyCode a = keycode(XK_a);
  XTestFakeKeyEvent(display, a, True, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(1000ms);
  XTestFakeKeyEvent(display, a, False, CurrentTime);
  expectRepeatsOfAHeldKey(messages());
}

TEST_F(X11KeyEvents, TypedCharactersBecomeCodePage437) {
  KeyCode acute = spareKeyFor(XK_eacute);
  KeyCode euro = spareKeyFor(XK_EuroSign);
  KeyCode unicodePi = spareKeyFor(0x10003C0);
  messages();  // the mapping changes
  for (KeyCode code : {acute, euro, unicodePi}) {
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
  }
  std::vector<uint8_t> characters;
  for (const WindowMessage& message : messages())
    if (message.kind == MessageKind::character) characters.push_back(message.character);
  EXPECT_EQ(characters, (std::vector<uint8_t>{0x82, '?', 0xE3}));
}

TEST_F(X11KeyEvents, KeyboardStatesOfHeldKeys) {
  fake(XK_Shift_R, true);
  fake(XK_Up, true);
  XSync(display, False);
  uint8_t byVirtualKey[256], byScanCode[256];
  X11KeyTranslator::virtualKeyState(display, byVirtualKey);
  X11KeyTranslator::scanCodeState(display, byScanCode);
  fake(XK_Up, false);
  fake(XK_Shift_R, false);
  XSync(display, False);
  EXPECT_EQ(byVirtualKey[virtualKeyShift], 0x80);
  EXPECT_EQ(byVirtualKey[virtualKeyRightShift], 0x80);
  EXPECT_EQ(byVirtualKey[38], 0x80);
  EXPECT_EQ(byVirtualKey[int{'A'}], 0);
  EXPECT_EQ(byScanCode[54], 0x80);
  EXPECT_EQ(byScanCode[72 + 128], 0x80);
  EXPECT_EQ(byScanCode[72], 0);
  X11KeyTranslator::virtualKeyState(display, byVirtualKey);
  EXPECT_EQ(byVirtualKey[38], 0);
}

}  // namespace krgfx
