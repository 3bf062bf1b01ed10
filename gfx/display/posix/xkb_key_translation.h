// What the X11 and Wayland back ends need to turn key events into the
// keyboard messages of the window procedure: virtual keys from keysyms (X and
// xkbcommon share their numbers), scan codes from X key codes (evdev codes +
// 8), which messages are system-key messages, and the previous-state bit of
// auto-repeated keys. Keysyms and key codes are plain numbers here, and no
// connection to a display is used.
//
// For one KeyPress event the back end would fill a key message as:
//   ScanCode sc = scanCodeOfKeycode(event.keycode);
//   virtualKey = virtualKeyOfKeysym(XLookupKeysym(&event, 0), lookedUpKeysym, sc.scan)
//     where lookedUpKeysym is the keysym Xutf8LookupString gave (it follows
//     Num Lock on the keypad);
//   scanCode = sc.scan, enhanced = sc.enhanced;
//   wasDown = repeats.press(event.keycode), repeatCount = 1;
//   text = typedText(virtualKey, the UTF-8 text of the lookup);
//   character = converter.keyCharacter(text) (Cp437Converter,
//     input/cp437_converter.h);
//   unshiftedCharacter = unshiftedCharacterOf(virtualKey);
//   kind = isSystemKey(virtualKey, altDown, ctrlDown) ? systemKeyDown : keyDown,
// then, unless it is a system key (Alt+letter types nothing), one character
// message per byte of converter.convert(text).
// KeyRelease: repeats.release(event.keycode) and a keyUp/systemKeyUp message.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>

#include "input/key_codes.h"

namespace krgfx {

// --- Virtual keys ----------------------------------------------------------

// The virtual key of a key: from the keysym the lookup gave when that is a
// keypad keysym (so that Num Lock picks digits or navigation keys), else from
// the key's unshifted keysym (index 0), else from the looked-up one, and for
// keysyms without a virtual key (other layouts' letters) the virtual key that
// the ScanCodeTable gives for the key's scan code. The extra key of 102-key
// keyboards (scan 86) is 226. Shift, Ctrl and Alt (also AltGr) give the
// generic 16, 17, 18. 0 when nothing fits.
int32_t virtualKeyOfKeysym(uint32_t unshiftedKeysym, uint32_t lookedUpKeysym, int32_t scanCode);

// The left or right variant of a modifier keysym: 160/161 Shift, 162/163
// Ctrl, 164/165 Alt (AltGr and Mode_switch count as right Alt); 0 for others.
int32_t sidedVirtualKeyOfKeysym(uint32_t keysym);

// Marks a held key in a keyboard state by virtual key (256 bytes, bit 7 while
// down): its virtual key and, for a modifier, the sided one too. Fill the
// state from the keys that XQueryKeymap reports down, with the same keysyms
// as for the key's messages.
void markKeyDown(uint8_t state[256], uint32_t unshiftedKeysym, uint32_t lookedUpKeysym,
                 int32_t scanCode);

// The text a key types, from the text the X lookup gave: nothing for Delete,
// which X reports as DEL (0x7F) but which types no character on a PC, and a
// Tab for Shift+Tab, which X reports as ISO_Left_Tab typing nothing.
std::string_view typedText(int32_t virtualKey, std::string_view lookedUpText);

// The modifier bits of a key event's state, as X's core protocol numbers them
// (ShiftMask, ControlMask, Mod1Mask); a Wayland back end builds the same word
// from its xkb state.
constexpr uint32_t modifierMaskShift = 1u << 0;
constexpr uint32_t modifierMaskControl = 1u << 2;
constexpr uint32_t modifierMaskAlt = 1u << 3;

// The modifier word of a key event (without the enhanced bit): from the X
// modifier mask the event carries (ShiftMask, ControlMask, Mod1Mask for Alt),
// and whether a right Ctrl or right Alt (AltGr) key is held, which X does not
// tell apart. Right Ctrl gives 0xC and right Alt 0x3, as both count as the
// generic key too.
int32_t modifiersOfEvent(uint32_t stateMask, bool rightCtrlHeld, bool rightAltHeld);

// --- Scan codes ------------------------------------------------------------

struct ScanCode {
  int32_t scan;   // PC set-1 scan code, 0 when the key has none
  bool enhanced;  // sent with the E0 prefix on a PC keyboard
};

// From an X key code (evdev: key code - 8 is the Linux input code, equal to
// the set-1 scan code of the main block). Arrows, Insert, Delete, Home, End,
// Page Up/Down, right Ctrl, right Alt, keypad Enter and /, Print Screen and
// the Windows and menu keys come with the enhanced flag; Pause is the
// enhanced form of 69 (Num Lock is the plain one).
ScanCode scanCodeOfKeycode(uint32_t keycode);

// --- Auto-repeat -----------------------------------------------------------

// Which keys are down, by X key code, for the previous-state bit: with
// detectable auto-repeat a held key sends presses without releases.
class KeyRepeatTracker {
 public:
  // Records a press; true when the key was already down (a repeat).
  bool press(uint32_t keycode);
  void release(uint32_t keycode);
  // Forgets every key, e.g. when the window loses the focus.
  void clear() { down_.reset(); }

 private:
  std::bitset<256> down_;
};

}  // namespace krgfx
