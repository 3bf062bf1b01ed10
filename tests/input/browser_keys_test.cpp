#include "input/browser_keys.h"

#include <gtest/gtest.h>

#include "input/key_codes.h"

namespace krgfx {

namespace {

struct UsKey {
  const char* code;
  int32_t keyCode;
};

// Keys of a US layout as a browser reports them, one per row of the board.
constexpr UsKey usKeys[] = {
    {"Escape", 27},     {"Digit1", 49},       {"Digit0", 48},     {"Minus", 189},
    {"Equal", 187},     {"Backspace", 8},     {"Tab", 9},         {"KeyQ", 81},
    {"KeyP", 80},       {"BracketLeft", 219}, {"Enter", 13},      {"KeyA", 65},
    {"Semicolon", 186}, {"Quote", 222},       {"Backquote", 192}, {"Backslash", 220},
    {"KeyZ", 90},       {"KeyM", 77},         {"Slash", 191},     {"Space", 32},
    {"F1", 112},        {"F10", 121},         {"F11", 122},       {"F12", 123},
    {"Numpad7", 103},   {"Numpad0", 96},      {"NumpadAdd", 107}, {"NumpadMultiply", 106},
    {"CapsLock", 20},
};

}  // namespace

// The scan code from the key's physical name agrees with the ScanCodeTable
// entry of the virtual key the layout gives it: the same codes as the other
// platforms report.
TEST(BrowserKeys, ScanCodesAgreeWithTheScanCodeTable) {
  for (const UsKey& key : usKeys) {
    BrowserKey browser = browserKeyOf(key.code, key.keyCode);
    EXPECT_EQ(browser.virtualKey, key.keyCode) << key.code;
    EXPECT_EQ(browser.scanCode, scanCodeOf(key.keyCode)) << key.code;
    EXPECT_FALSE(browser.enhanced) << key.code;
  }
}

TEST(BrowserKeys, NavigationBlockAndRightModifiersAreEnhanced) {
  BrowserKey left = browserKeyOf("ArrowLeft", 37);
  EXPECT_EQ(left.scanCode, 75);
  EXPECT_TRUE(left.enhanced);
  // The keypad's 4 with Num Lock off reports the same virtual key, unprefixed.
  BrowserKey keypadLeft = browserKeyOf("Numpad4", 37);
  EXPECT_EQ(keypadLeft.virtualKey, 37);
  EXPECT_EQ(keypadLeft.scanCode, 75);
  EXPECT_FALSE(keypadLeft.enhanced);
  EXPECT_TRUE(browserKeyOf("NumpadEnter", 13).enhanced);
  EXPECT_EQ(browserKeyOf("NumpadEnter", 13).scanCode, 28);
  BrowserKey rightCtrl = browserKeyOf("ControlRight", 17);
  EXPECT_EQ(rightCtrl.scanCode, 29);
  EXPECT_TRUE(rightCtrl.enhanced);
  EXPECT_EQ(rightCtrl.virtualKey, virtualKeyCtrl);
  EXPECT_EQ(rightCtrl.sidedVirtualKey, virtualKeyRightCtrl);
  EXPECT_EQ(browserKeyOf("ShiftRight", 16).scanCode, 54);
  EXPECT_EQ(browserKeyOf("ShiftLeft", 16).sidedVirtualKey, virtualKeyLeftShift);
  EXPECT_EQ(browserKeyOf("AltRight", 18).sidedVirtualKey, virtualKeyRightAlt);
  EXPECT_EQ(browserKeyOf("KeyA", 65).sidedVirtualKey, 0);
}

TEST(BrowserKeys, FirefoxNumbersAndUnknownKeysAreMended) {
  EXPECT_EQ(browserKeyOf("Semicolon", 59).virtualKey, 186);
  EXPECT_EQ(browserKeyOf("Equal", 61).virtualKey, 187);
  EXPECT_EQ(browserKeyOf("Minus", 173).virtualKey, 189);
  // A key without a PC position takes its virtual key's scan code.
  EXPECT_EQ(browserKeyOf("Lang9", 65).scanCode, scanCodeOf(65));
  BrowserKey nothing = browserKeyOf("", 0);
  EXPECT_EQ(nothing.virtualKey, 0);
  EXPECT_EQ(nothing.scanCode, 0);
  EXPECT_EQ(browserKeyOf("KeyA", 300).virtualKey, 0);  // out of the virtual-key range
}

TEST(BrowserKeys, TextOfAKey) {
  EXPECT_EQ(browserKeyText("a", false, false), "a");
  EXPECT_EQ(browserKeyText("A", false, false), "A");
  EXPECT_EQ(browserKeyText("a", true, false), "\x01");
  EXPECT_EQ(browserKeyText("Z", true, false), "\x1a");
  // Ctrl+Alt is AltGr: the layout's character.
  EXPECT_EQ(browserKeyText("@", true, true), "@");
  EXPECT_EQ(browserKeyText("\xC3\xA9", false, false), "\xC3\xA9");  // one character, two bytes
  EXPECT_EQ(browserKeyText("Enter", false, false), "\r");
  EXPECT_EQ(browserKeyText("Backspace", false, false), "\b");
  EXPECT_EQ(browserKeyText("Tab", false, false), "\t");
  EXPECT_EQ(browserKeyText("Escape", false, false), "\x1b");
  EXPECT_EQ(browserKeyText("ArrowLeft", false, false), "");
  EXPECT_EQ(browserKeyText("Delete", false, false), "");
  EXPECT_EQ(browserKeyText("Dead", false, false), "");
  EXPECT_EQ(browserKeyText("", false, false), "");
}

TEST(BrowserKeys, ButtonsAndWheel) {
  EXPECT_EQ(browserButtonBit(0), 0x1);
  EXPECT_EQ(browserButtonBit(1), 0x4);
  EXPECT_EQ(browserButtonBit(2), 0x2);
  EXPECT_EQ(browserButtonBit(3), 0x8);
  EXPECT_EQ(browserButtonBit(4), 0x10);
  EXPECT_EQ(browserButtonBit(5), 0);
  EXPECT_EQ(browserButtonBit(-1), 0);
  EXPECT_EQ(browserWheelDelta(0), 0);
  EXPECT_EQ(browserWheelDelta(-100), 120);  // up, away from the user: forward
  EXPECT_EQ(browserWheelDelta(100), -120);
  EXPECT_EQ(browserWheelDelta(-300), 360);
  EXPECT_EQ(browserWheelDelta(1), -120);  // the smallest movement is a notch
  EXPECT_EQ(browserWheelDelta(-3), 120);  // three lines: one notch
}

}  // namespace krgfx
