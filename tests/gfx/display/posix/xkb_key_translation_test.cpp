#include "gfx/display/posix/xkb_key_translation.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "input/cp437_converter.h"
#include "input/key_codes.h"

namespace krgfx {

namespace {

// X key codes of an evdev keyboard: the Linux input code + 8.
constexpr uint32_t keycodeOf(uint32_t inputCode) { return inputCode + 8; }

// The code a US keyboard's key-down gives, as the X11 back end would
// assemble the message: unshifted and looked-up keysyms, the lookup's text.
int32_t codeOfKey(uint32_t keycode, uint32_t unshifted, uint32_t lookedUp, std::string_view text,
                  int32_t modifiers) {
  Cp437Converter converter;
  ScanCode scan = scanCodeOfKeycode(keycode);
  int32_t key = virtualKeyOfKeysym(unshifted, lookedUp, scan.scan);
  uint8_t typed = converter.keyCharacter(typedText(key, text));
  if (scan.enhanced) modifiers |= modifierEnhanced;
  return makeKeyCode(typed, scan.scan, unshiftedCharacterOf(key), modifiers);
}

}  // namespace

TEST(X11KeyTranslation, ScanCodesOfTheMainBlockAreTheInputCodes) {
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(1)).scan, 1);    // Escape
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(30)).scan, 30);  // A
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(59)).scan, 59);  // F1
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(72)).scan, 72);  // keypad 8
  EXPECT_FALSE(scanCodeOfKeycode(keycodeOf(72)).enhanced);
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(88)).scan, 88);  // F12
}

TEST(X11KeyTranslation, PrefixedKeysAreEnhanced) {
  struct {
    uint32_t inputCode;
    int32_t scan;
  } keys[] = {{103, 72}, {108, 80}, {105, 75}, {106, 77}, {110, 82}, {111, 83},
              {102, 71}, {107, 79}, {104, 73}, {109, 81}, {97, 29},  {100, 56},
              {96, 28},  {98, 53},  {119, 69}, {125, 91}};
  for (auto key : keys) {
    ScanCode code = scanCodeOfKeycode(keycodeOf(key.inputCode));
    EXPECT_EQ(code.scan, key.scan) << key.inputCode;
    EXPECT_TRUE(code.enhanced) << key.inputCode;
  }
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(69)).scan, 69);  // Num Lock, plain
  EXPECT_FALSE(scanCodeOfKeycode(keycodeOf(69)).enhanced);
}

TEST(X11KeyTranslation, KeysWithoutAScanCode) {
  EXPECT_EQ(scanCodeOfKeycode(0).scan, 0);
  EXPECT_EQ(scanCodeOfKeycode(7).scan, 0);
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(0)).scan, 0);
  EXPECT_EQ(scanCodeOfKeycode(keycodeOf(113)).scan, 0);  // a volume key
  EXPECT_EQ(scanCodeOfKeycode(255).scan, 0);
  EXPECT_EQ(scanCodeOfKeycode(0xFFFFFFFF).scan, 0);
}

TEST(X11KeyTranslation, VirtualKeysOfKeysyms) {
  EXPECT_EQ(virtualKeyOfKeysym(XK_a, XK_a, 30), 'A');
  EXPECT_EQ(virtualKeyOfKeysym(XK_a, XK_A, 30), 'A');
  EXPECT_EQ(virtualKeyOfKeysym(XK_1, XK_exclam, 2), '1');
  EXPECT_EQ(virtualKeyOfKeysym(XK_F1, XK_F1, 59), 112);
  EXPECT_EQ(virtualKeyOfKeysym(XK_F12, XK_F12, 88), 123);
  EXPECT_EQ(virtualKeyOfKeysym(XK_Escape, XK_Escape, 1), 27);
  EXPECT_EQ(virtualKeyOfKeysym(XK_Up, XK_Up, 72), 38);
  EXPECT_EQ(virtualKeyOfKeysym(XK_Delete, XK_Delete, 83), 46);
  EXPECT_EQ(virtualKeyOfKeysym(XK_minus, XK_underscore, 12), 189);
  EXPECT_EQ(virtualKeyOfKeysym(XK_apostrophe, XK_quotedbl, 40), 222);
  EXPECT_EQ(virtualKeyOfKeysym(XK_Shift_R, XK_Shift_R, 54), 16);
  EXPECT_EQ(virtualKeyOfKeysym(XK_Control_R, XK_Control_R, 29), 17);
  EXPECT_EQ(virtualKeyOfKeysym(XK_ISO_Level3_Shift, XK_ISO_Level3_Shift, 56), 18);
  EXPECT_EQ(virtualKeyOfKeysym(XK_less, XK_less, 86), 226);
}

TEST(X11KeyTranslation, TheKeypadFollowsNumLock) {
  // Keypad 8: index 0 is KP_Up; the lookup gives KP_8 with Num Lock on.
  EXPECT_EQ(virtualKeyOfKeysym(XK_KP_Up, XK_KP_Up, 72), 38);
  EXPECT_EQ(virtualKeyOfKeysym(XK_KP_Up, XK_KP_8, 72), 104);
  EXPECT_EQ(virtualKeyOfKeysym(XK_KP_Delete, XK_KP_Decimal, 83), 110);
  EXPECT_EQ(virtualKeyOfKeysym(XK_KP_Enter, XK_KP_Enter, 28), 13);
  EXPECT_EQ(virtualKeyOfKeysym(XK_KP_Begin, XK_KP_Begin, 76), 12);
}

TEST(X11KeyTranslation, OtherLayoutsFallBackOnTheScanCode) {
  // A German keyboard's o-umlaut sits where the US semicolon is.
  EXPECT_EQ(virtualKeyOfKeysym(XK_odiaeresis, XK_odiaeresis, 39), 186);
  EXPECT_EQ(virtualKeyOfKeysym(XK_dead_acute, 0, 13), 187);
  EXPECT_EQ(virtualKeyOfKeysym(0, 0, 0), 0);
  EXPECT_EQ(virtualKeyOfKeysym(0x1234567, 0, 200), 0);
}

TEST(X11KeyTranslation, KeyboardStateMarksSidedModifiers) {
  uint8_t state[256] = {};
  markKeyDown(state, XK_Control_R, XK_Control_R, 29);
  markKeyDown(state, XK_ISO_Level3_Shift, XK_ISO_Level3_Shift, 56);
  markKeyDown(state, XK_a, XK_a, 30);
  EXPECT_EQ(state[17] & 0x80, 0x80);
  EXPECT_EQ(state[163] & 0x80, 0x80);
  EXPECT_EQ(state[18] & 0x80, 0x80);
  EXPECT_EQ(state[165] & 0x80, 0x80);
  EXPECT_EQ(state[int{'A'}] & 0x80, 0x80);
  EXPECT_EQ(state[162], 0);
  EXPECT_EQ(modifiersOf(state, false),
            modifierCtrl | modifierRightCtrl | modifierAlt | modifierRightAlt);
  uint8_t unknown[256] = {};
  markKeyDown(unknown, 0, 0, 0);
  for (uint8_t byte : unknown) EXPECT_EQ(byte, 0);
}

TEST(X11KeyTranslation, SystemKeys) {
  EXPECT_TRUE(isSystemKey('A', true, false));
  EXPECT_FALSE(isSystemKey('A', true, true));  // AltGr
  EXPECT_FALSE(isSystemKey('A', false, false));
  EXPECT_TRUE(isSystemKey(121, false, false));  // F10
  EXPECT_TRUE(isSystemKey(18, false, false));   // Alt itself
  EXPECT_TRUE(isSystemKey(115, true, false));   // Alt+F4
}

TEST(X11KeyTranslation, UnshiftedCharacters) {
  EXPECT_EQ(unshiftedCharacterOf('A'), 'A');
  EXPECT_EQ(unshiftedCharacterOf('7'), '7');
  EXPECT_EQ(unshiftedCharacterOf(104), '8');
  EXPECT_EQ(unshiftedCharacterOf(111), '/');
  EXPECT_EQ(unshiftedCharacterOf(192), '`');
  EXPECT_EQ(unshiftedCharacterOf(13), '\r');
  EXPECT_EQ(unshiftedCharacterOf(112), 0);
  EXPECT_EQ(unshiftedCharacterOf(38), 0);
  EXPECT_EQ(unshiftedCharacterOf(-1), 0);
}

TEST(X11KeyTranslation, KeysFromXEventsToKeyCodes) {
  EXPECT_EQ(codeOfKey(keycodeOf(59), XK_F1, XK_F1, "", 0), (';' << 8) | 0xFF);
  EXPECT_EQ(codeOfKey(keycodeOf(103), XK_Up, XK_Up, "", 0), ('H' << 8) | 0xFF);
  EXPECT_EQ(codeOfKey(keycodeOf(72), XK_KP_Up, XK_KP_Up, "", 0), ('H' << 8) | 0xFF);
  EXPECT_EQ(codeOfKey(keycodeOf(72), XK_KP_Up, XK_KP_8, "8", 0), '8');
  EXPECT_EQ(codeOfKey(keycodeOf(111), XK_Delete, XK_Delete, "\x7f", 0), ('S' << 8) | 0xFF);
  EXPECT_EQ(codeOfKey(keycodeOf(83), XK_KP_Delete, XK_KP_Delete, "\x7f", 0), ('S' << 8) | 0xFF);
  EXPECT_EQ(codeOfKey(keycodeOf(30), XK_a, XK_a, "a", 0), 'a');
  EXPECT_EQ(codeOfKey(keycodeOf(30), XK_a, XK_a, "a", modifierAlt), (30 << 8) | 0xFF);
  EXPECT_EQ(codeOfKey(keycodeOf(62), XK_F4, XK_F4, "", modifierAlt), 0x6BFF);
  EXPECT_EQ(codeOfKey(keycodeOf(1), XK_Escape, XK_Escape, "\x1b", 0), 27);
  EXPECT_EQ(codeOfKey(keycodeOf(18), XK_e, XK_eacute, "\u00e9", 0), 0x82);
  // Shift+Tab is X's ISO_Left_Tab, which types nothing: still the back-tab.
  EXPECT_EQ(codeOfKey(keycodeOf(15), XK_Tab, XK_ISO_Left_Tab, "", modifierShift), 0x0FFF);
  EXPECT_EQ(codeOfKey(keycodeOf(15), XK_Tab, XK_Tab, "\t", 0), '\t');
}

TEST(X11KeyTranslation, ModifiersOfAnEventTellTheSidesFromTheHeldKeys) {
  EXPECT_EQ(modifiersOfEvent(0, false, false), 0);
  EXPECT_EQ(modifiersOfEvent(modifierMaskShift | 2u, false, false), modifierShift);
  EXPECT_EQ(modifiersOfEvent(modifierMaskControl, false, false), modifierCtrl);
  EXPECT_EQ(modifiersOfEvent(modifierMaskControl, true, false), modifierCtrl | modifierRightCtrl);
  EXPECT_EQ(modifiersOfEvent(modifierMaskAlt | modifierMaskShift, false, false),
            modifierAlt | modifierShift);
  // AltGr often sets no Mod1 bit: the held right Alt still counts as Alt.
  EXPECT_EQ(modifiersOfEvent(1u << 7, false, true), modifierAlt | modifierRightAlt);
}

TEST(X11KeyTranslation, RepeatsAreKeysAlreadyDown) {
  KeyRepeatTracker repeats;
  EXPECT_FALSE(repeats.press(38));
  EXPECT_TRUE(repeats.press(38));
  EXPECT_FALSE(repeats.press(39));
  repeats.release(38);
  EXPECT_FALSE(repeats.press(38));
  repeats.clear();
  EXPECT_FALSE(repeats.press(39));
  EXPECT_FALSE(repeats.press(1000));
  EXPECT_FALSE(repeats.press(1000));
  repeats.release(1000);
}

}  // namespace krgfx
