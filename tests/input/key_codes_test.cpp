#include "input/key_codes.h"

#include <gtest/gtest.h>

#include <krgfx/input.h>

namespace krgfx {

namespace {

constexpr int32_t none = 0;
constexpr int32_t shift = modifierShift;
constexpr int32_t ctrl = modifierCtrl;
constexpr int32_t alt = modifierAlt;
constexpr int32_t enhanced = modifierEnhanced;

int32_t extendedKey(int32_t scanValue) { return (scanValue << 8) | 0xFF; }

// A key that types no character: function keys, arrows, keypad with Num Lock off.
int32_t silentKey(int32_t scan, int32_t modifiers) { return makeKeyCode(0, scan, 0, modifiers); }

}  // namespace

TEST(KeyCodes, FunctionKeysInEveryState) {
  EXPECT_EQ(silentKey(59, none), extendedKey(';'));  // F1
  EXPECT_EQ(silentKey(59, shift), extendedKey('T'));
  EXPECT_EQ(silentKey(59, ctrl), extendedKey('^'));
  EXPECT_EQ(silentKey(59, alt), extendedKey('h'));
  EXPECT_EQ(silentKey(68, none), extendedKey(68));    // F10
  EXPECT_EQ(silentKey(87, none), extendedKey(0x85));  // F11
  EXPECT_EQ(silentKey(88, none), extendedKey(0x86));  // F12
  EXPECT_EQ(silentKey(88, shift), extendedKey(136));
  EXPECT_EQ(silentKey(88, ctrl), extendedKey(138));
  EXPECT_EQ(silentKey(88, alt), extendedKey(140));
  // Alt wins over Ctrl, Ctrl over Shift; right Ctrl and right Alt count too.
  EXPECT_EQ(silentKey(59, alt | ctrl | shift), extendedKey(104));
  EXPECT_EQ(silentKey(59, ctrl | shift), extendedKey(94));
  EXPECT_EQ(silentKey(59, modifierRightCtrl), extendedKey(94));
  EXPECT_EQ(silentKey(59, modifierRightAlt), extendedKey(104));
}

TEST(KeyCodes, AltF4IsTheCloseKey) {
  EXPECT_EQ(silentKey(62, alt), windowCloseKey);
  EXPECT_EQ(silentKey(62, alt | modifierRightAlt), windowCloseKey);
}

TEST(KeyCodes, ArrowsAndKeypad) {
  EXPECT_EQ(silentKey(72, enhanced), extendedKey('H'));  // Up arrow
  EXPECT_EQ(silentKey(72, none), extendedKey('H'));      // keypad 8, Num Lock off
  EXPECT_EQ(silentKey(83, enhanced), extendedKey('S'));  // Delete
  EXPECT_EQ(silentKey(83, none), extendedKey('S'));      // keypad Del
  EXPECT_EQ(silentKey(72, enhanced | ctrl), extendedKey(0x8D));
  EXPECT_EQ(silentKey(72, enhanced | alt), extendedKey(0x98));
  EXPECT_EQ(silentKey(72, ctrl), extendedKey(141));
  EXPECT_EQ(silentKey(72, alt), -1);               // keypad Up with Alt: no code
  EXPECT_EQ(silentKey(76, alt), extendedKey(76));  // keypad 5 with Alt
  EXPECT_EQ(silentKey(76, none), extendedKey(76));
  // Keypad 8 with Num Lock on types '8', which arrives as a character.
  EXPECT_EQ(makeKeyCode('8', 72, '8', none), '8');
}

TEST(KeyCodes, EnhancedKeysThatAreCharacters) {
  // Keypad Enter and / type characters: the character wins.
  EXPECT_EQ(makeKeyCode('\r', 28, '\r', enhanced), '\r');
  EXPECT_EQ(makeKeyCode('/', 53, '/', enhanced), '/');
  // Without a character, the table's entries below 256 come back as they are.
  EXPECT_EQ(silentKey(28, enhanced), 0x0D);
  EXPECT_EQ(silentKey(28, enhanced | ctrl), 0x0A);
  EXPECT_EQ(silentKey(53, enhanced | shift), 0x3F);
  EXPECT_EQ(silentKey(53, enhanced | ctrl), extendedKey(0x95));
  // An enhanced key the table lacks (right Ctrl) gives nothing.
  EXPECT_EQ(silentKey(29, enhanced | ctrl), -1);
}

TEST(KeyCodes, CharacterKeys) {
  EXPECT_EQ(makeKeyCode('a', 30, 'A', none), 'a');
  EXPECT_EQ(makeKeyCode('A', 30, 'A', shift), 'A');
  EXPECT_EQ(makeKeyCode(1, 30, 'A', ctrl), 1);  // Ctrl+A types 0x01
  // Alt+letter: the letter's extended code, whatever its case.
  EXPECT_EQ(makeKeyCode('a', 30, 'A', alt), extendedKey(30));
  EXPECT_EQ(makeKeyCode('A', 30, 'A', alt | shift), extendedKey(30));
  EXPECT_EQ(makeKeyCode('1', 2, '1', alt), extendedKey(120));
  EXPECT_EQ(makeKeyCode('=', 13, '=', alt), extendedKey(131));
  EXPECT_EQ(makeKeyCode(27, 1, 27, alt), extendedKey(1));
  // Shift+Tab types no character: the back-tab code.
  EXPECT_EQ(makeKeyCode(0, 15, '\t', shift), -1);
  EXPECT_EQ(makeKeyCode('\t', 15, '\t', shift), extendedKey(15));
  // A character typed by another layout's key is the character.
  EXPECT_EQ(makeKeyCode(0x82, 40, '\'', none), 0x82);
  EXPECT_EQ(makeKeyCode(0x82, 40, '\'', alt), 0x82);
  // Keys that type nothing and have no extended code.
  EXPECT_EQ(silentKey(42, shift), -1);  // Shift itself
  EXPECT_EQ(silentKey(29, ctrl), -1);
  EXPECT_EQ(silentKey(0, none), -1);
}

TEST(KeyCodes, ScanCodesBeyondTheTables) {
  EXPECT_EQ(makeKeyCode('x', 91, 0, none), 'x');
  EXPECT_EQ(silentKey(91, enhanced), -1);  // Windows key
  EXPECT_EQ(silentKey(200, none), -1);
  EXPECT_EQ(silentKey(-3, none), -1);
  EXPECT_EQ(makeKeyCode('q', -3, 'Q', alt), 'q');
  // Only the low byte of the character counts.
  EXPECT_EQ(makeKeyCode(0x161, 30, 'A', none), 0x61);
}

TEST(KeyCodes, ScanCodeOfVirtualKeys) {
  EXPECT_EQ(scanCodeOf(0), 1);
  EXPECT_EQ(scanCodeOf(27), 1);
  EXPECT_EQ(scanCodeOf('A'), 30);
  EXPECT_EQ(scanCodeOf(112), 59);  // F1
  EXPECT_EQ(scanCodeOf(109), 12);  // keypad minus: the alternative of the minus key
  EXPECT_EQ(scanCodeOf(111), 53);  // keypad divide
  EXPECT_EQ(scanCodeOf(104), 72);  // keypad 8
  EXPECT_EQ(scanCodeOf(16), 42);   // Shift: the first of the two
  EXPECT_EQ(scanCodeOf(93), 93);
  EXPECT_EQ(scanCodeOf(19), 0);  // Pause has none
  EXPECT_EQ(scanCodeOf(-1), 0);
  EXPECT_EQ(scanCodeOf(1000), 0);
}

TEST(KeyCodes, ScanCodeTableIsInScanOrder) {
  for (int32_t i = 1; i < scanCodeTableSize; ++i)
    EXPECT_LT(ScanCodeTable[i - 1].scan, ScanCodeTable[i].scan);
  EXPECT_EQ(ScanCodeTable[scanCodeTableSize - 1].scan, 93);
  for (const ScanCodeEntry& entry : ScanCodeTable) {
    EXPECT_NE(entry.scan, 74);  // keypad minus and 5 have no entry of their own
    EXPECT_NE(entry.scan, 76);
  }
}

TEST(KeyCodes, ModifierWord) {
  uint8_t state[256] = {};
  EXPECT_EQ(modifiersOf(state, false), 0);
  EXPECT_EQ(modifiersOf(state, true), enhanced);
  state[virtualKeyRightShift] = 0x80;
  EXPECT_EQ(modifiersOf(state, false), shift);
  state[virtualKeyRightShift] = 0x01;  // toggled, not down
  EXPECT_EQ(modifiersOf(state, false), 0);
  // Right Ctrl comes with the generic Ctrl: 0xC. Right Alt likewise: 0x3.
  state[virtualKeyCtrl] = state[virtualKeyRightCtrl] = 0x80;
  state[virtualKeyAlt] = state[virtualKeyRightAlt] = 0x80;
  EXPECT_EQ(modifiersOf(state, false), 0xF);
  uint8_t left[256] = {};
  left[virtualKeyLeftCtrl] = left[virtualKeyLeftAlt] = left[virtualKeyLeftShift] = 0x80;
  EXPECT_EQ(modifiersOf(left, false), ctrl | alt | shift);
}

TEST(KeyCodes, ModifierWordOfHeldKeys) {
  EXPECT_EQ(modifiersOfHeldKeys(false, false, false, false, false), 0);
  EXPECT_EQ(modifiersOfHeldKeys(true, false, false, false, false), modifierShift);
  EXPECT_EQ(modifiersOfHeldKeys(false, true, false, true, false), modifierCtrl | modifierRightCtrl);
  EXPECT_EQ(modifiersOfHeldKeys(false, true, true, false, true),
            modifierCtrl | modifierAlt | modifierRightAlt);
}

}  // namespace krgfx
