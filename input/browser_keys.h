// What a browser's keyboard and mouse events mean to the window procedure:
// the PC scan code of a key from its physical name (KeyboardEvent.code), its
// virtual key from the legacy key number, the text it types and the button
// bits. Portable: the names and numbers come in as plain values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace krgfx {

struct BrowserKey {
  int32_t virtualKey;       // 0 when the key has none
  int32_t sidedVirtualKey;  // left/right Shift, Ctrl, Alt: 160 to 165; else 0
  int32_t scanCode;         // PC set-1 scan code, 0 when the key has none
  bool enhanced;            // sent with the E0 prefix on a PC keyboard
};

// A key from KeyboardEvent.code (the physical key, "KeyA", "ArrowLeft") and
// KeyboardEvent.keyCode (the layout's virtual key, Windows' numbers; the
// few that Firefox numbers otherwise are mended).
BrowserKey browserKeyOf(std::string_view code, int32_t keyCode);

// The UTF-8 text a key-down types, from KeyboardEvent.key: the character
// itself, a control character for Enter, Backspace, Tab, Escape and for
// Ctrl with a letter; nothing for the other named keys and dead keys.
std::string browserKeyText(std::string_view key, bool ctrl, bool alt);

// MouseEvent.button (0 left, 1 middle, 2 right, 3 back, 4 forward) as a
// button bit: 0x1 left, 0x2 right, 0x4 middle, 0x8 and 0x10 extra; 0 else.
int32_t browserButtonBit(int32_t button);

// WheelEvent.deltaY (down positive) as wheel notches of 120, forward
// positive; at least one notch for any movement.
int32_t browserWheelDelta(double delta);

}  // namespace krgfx
