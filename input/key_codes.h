// Key codes from keyboard messages: the scan-code, key-code and enhanced-key
// tables and the translation of one key-down into the code the program sees.
#pragma once

#include <array>
#include <cstdint>

namespace krgfx {

// Bits of the modifier word (the layout of the console's control-key state).
constexpr int32_t modifierRightAlt = 0x1;
constexpr int32_t modifierAlt = 0x2;
constexpr int32_t modifierRightCtrl = 0x4;
constexpr int32_t modifierCtrl = 0x8;
constexpr int32_t modifierShift = 0x10;
constexpr int32_t modifierEnhanced = 0x100;

// Virtual keys that the keyboard code names.
constexpr int32_t virtualKeyReturn = 13;
constexpr int32_t virtualKeyShift = 16;
constexpr int32_t virtualKeyCtrl = 17;
constexpr int32_t virtualKeyAlt = 18;
constexpr int32_t virtualKeyEscape = 27;
constexpr int32_t virtualKeyF10 = 121;
constexpr int32_t virtualKeyLeftShift = 160;
constexpr int32_t virtualKeyRightShift = 161;
constexpr int32_t virtualKeyLeftCtrl = 162;
constexpr int32_t virtualKeyRightCtrl = 163;
constexpr int32_t virtualKeyLeftAlt = 164;
constexpr int32_t virtualKeyRightAlt = 165;

// One key of the PC keyboard: its set-1 scan code and the virtual keys that
// report it (alternative 0 for none; the keypad keys have two).
struct ScanCodeEntry {
  uint8_t scan;
  uint8_t virtualKey;
  uint8_t alternativeVirtualKey;
};
constexpr int32_t scanCodeTableSize = 86;
extern const ScanCodeEntry ScanCodeTable[scanCodeTableSize];

// Per scan code 0 to 88, the code in the normal, Shift, Ctrl and Alt state.
// Only entries of 256 or more matter, and only their high byte (the extended
// scan value); the others are kept as 0.
enum KeyState : int32_t { keyStateNormal, keyStateShift, keyStateCtrl, keyStateAlt };
constexpr int32_t keyCodeTableSize = 89;
using KeyCodeRow = std::array<uint16_t, 4>;
extern const std::array<KeyCodeRow, keyCodeTableSize> KeyCodeTable;

// Enhanced (E0-prefixed) keys that produce no character.
struct EnhancedKeyEntry {
  uint8_t scan;
  uint16_t codes[4];  // normal, Shift, Ctrl, Alt
};
constexpr int32_t enhancedKeyTableSize = 12;
extern const EnhancedKeyEntry EnhancedKeyTable[enhancedKeyTableSize];

// The code of a key-down: the character when the key types one, the
// extended code ((scan << 8) | 0xFF) of a key that types none, -1 for
// nothing. `character` is what the key types with the modifiers held (0 for
// none or a dead key); `unshiftedCharacter` is what the key's virtual key
// types without any modifier (0 for none), which is all the virtual key
// contributes.
int32_t makeKeyCode(int32_t character, int32_t scan, int32_t unshiftedCharacter, int32_t modifiers);

// The scan code of a virtual key from the ScanCodeTable; 0 when none.
int32_t scanCodeOf(int32_t virtualKey);

// The modifier word from a keyboard state (256 bytes by virtual key, bit 7
// set while down) and the enhanced flag of the key.
int32_t modifiersOf(const uint8_t state[256], bool enhanced);

// The modifier word (without the enhanced bit) of an event that tells
// whether Shift, Ctrl and Alt are down but not their sides, and whether the
// right Ctrl or right Alt key is held: those give 0xC and 0x3, as both
// count as the generic key too.
int32_t modifiersOfHeldKeys(bool shift, bool ctrl, bool alt, bool rightCtrlHeld, bool rightAltHeld);

// The character a virtual key types without modifiers, as the tables expect
// it: capital letters, digits, the US punctuation of the OEM keys, keypad
// digits and operators, Space, Return, Backspace, Tab, Escape; 0 for none.
uint8_t unshiftedCharacterOf(int32_t virtualKey);

// Key-down and key-up messages for Alt combinations (without Ctrl, which
// makes AltGr), the Alt key itself and F10 are system-key messages. altDown
// and ctrlDown describe the modifiers held besides the key.
bool isSystemKey(int32_t virtualKey, bool altDown, bool ctrlDown);

}  // namespace krgfx
