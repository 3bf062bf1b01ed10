// The key and character messages of one key event, built the same way by the
// X11 and Wayland back ends from what their keyboard libraries looked up. It
// keeps what lasts between events (keys held, the sides of held modifiers,
// the code page 437 converter): one per connection, used on its thread.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "gfx/display/posix/xkb_key_translation.h"
#include "gfx/display/window_system.h"
#include "input/cp437_converter.h"

namespace krgfx {

// One key press or release as a keyboard library reports it.
struct KeyEventFacts {
  bool press;
  uint32_t keycode;          // X key code: evdev code + 8
  uint32_t unshiftedKeysym;  // the key's keysym at level 0
  uint32_t lookedUpKeysym;   // the keysym with the modifiers and locks applied
  std::string_view text;     // UTF-8 the key types, control characters applied
  uint32_t stateMask;        // modifierMaskShift, modifierMaskControl, modifierMaskAlt bits
};

class KeyMessageBuilder {
 public:
  // Appends a key-down or key-up (system-key forms for Alt combinations, Alt
  // and F10), and after a key-down that types text (not a system key) one
  // character message per code page 437 byte of it. A press of a key already
  // down is a repeat (wasDown).
  void append(const KeyEventFacts& event, std::vector<WindowMessage>& messages);
  // Forgets the held keys (after the focus went elsewhere, no releases come).
  void forgetHeldKeys() {
    repeats_.clear();
    rightCtrlHeld_ = rightAltHeld_ = false;
  }

 private:
  void noteSidedModifier(uint32_t unshiftedKeysym, bool press);

  KeyRepeatTracker repeats_;
  Cp437Converter converter_;
  bool rightCtrlHeld_ = false, rightAltHeld_ = false;  // modifier masks have no sides
};

}  // namespace krgfx
