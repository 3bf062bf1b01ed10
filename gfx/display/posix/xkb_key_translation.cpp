#include "gfx/display/posix/xkb_key_translation.h"

#include <X11/keysym.h>

#include "input/key_codes.h"

namespace krgfx {

namespace {

bool isKeypadKeysym(uint32_t keysym) { return keysym >= XK_KP_Space && keysym <= XK_KP_Equal; }

int32_t keypadVirtualKey(uint32_t keysym) {
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return 96 + static_cast<int32_t>(keysym - XK_KP_0);
  switch (keysym) {
    case XK_KP_Space:
      return 32;
    case XK_KP_Tab:
      return 9;
    case XK_KP_Enter:
      return 13;
    case XK_KP_F1:
    case XK_KP_F2:
    case XK_KP_F3:
    case XK_KP_F4:
      return 112 + static_cast<int32_t>(keysym - XK_KP_F1);
    case XK_KP_Home:
      return 36;
    case XK_KP_Left:
      return 37;
    case XK_KP_Up:
      return 38;
    case XK_KP_Right:
      return 39;
    case XK_KP_Down:
      return 40;
    case XK_KP_Prior:
      return 33;
    case XK_KP_Next:
      return 34;
    case XK_KP_End:
      return 35;
    case XK_KP_Begin:
      return 12;
    case XK_KP_Insert:
      return 45;
    case XK_KP_Delete:
      return 46;
    case XK_KP_Multiply:
      return 106;
    case XK_KP_Add:
      return 107;
    case XK_KP_Separator:
      return 108;
    case XK_KP_Subtract:
      return 109;
    case XK_KP_Decimal:
      return 110;
    case XK_KP_Divide:
      return 111;
    default:
      return 0;
  }
}

// The virtual key of the US-layout key that carries a printable keysym,
// shifted or not.
int32_t printableVirtualKey(uint32_t keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return 'A' + static_cast<int32_t>(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int32_t>(keysym);
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int32_t>(keysym);
  switch (keysym) {
    case XK_space:
      return 32;
    case XK_exclam:
      return '1';
    case XK_at:
      return '2';
    case XK_numbersign:
      return '3';
    case XK_dollar:
      return '4';
    case XK_percent:
      return '5';
    case XK_asciicircum:
      return '6';
    case XK_ampersand:
      return '7';
    case XK_asterisk:
      return '8';
    case XK_parenleft:
      return '9';
    case XK_parenright:
      return '0';
    case XK_semicolon:
    case XK_colon:
      return 186;
    case XK_equal:
    case XK_plus:
      return 187;
    case XK_comma:
    case XK_less:
      return 188;
    case XK_minus:
    case XK_underscore:
      return 189;
    case XK_period:
    case XK_greater:
      return 190;
    case XK_slash:
    case XK_question:
      return 191;
    case XK_grave:
    case XK_asciitilde:
      return 192;
    case XK_bracketleft:
    case XK_braceleft:
      return 219;
    case XK_backslash:
    case XK_bar:
      return 220;
    case XK_bracketright:
    case XK_braceright:
      return 221;
    case XK_apostrophe:
    case XK_quotedbl:
      return 222;
    default:
      return 0;
  }
}

int32_t functionVirtualKey(uint32_t keysym) {
  if (keysym >= XK_F1 && keysym <= XK_F24) return 112 + static_cast<int32_t>(keysym - XK_F1);
  switch (keysym) {
    case XK_BackSpace:
      return 8;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      return 9;
    case XK_Clear:
      return 12;
    case XK_Return:
      return 13;
    case XK_Shift_L:
    case XK_Shift_R:
      return virtualKeyShift;
    case XK_Control_L:
    case XK_Control_R:
      return virtualKeyCtrl;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
    case XK_ISO_Level3_Shift:
    case XK_Mode_switch:
      return virtualKeyAlt;
    case XK_Pause:
      return 19;
    case XK_Caps_Lock:
      return 20;
    case XK_Escape:
      return virtualKeyEscape;
    case XK_Prior:
      return 33;
    case XK_Next:
      return 34;
    case XK_End:
      return 35;
    case XK_Home:
      return 36;
    case XK_Left:
      return 37;
    case XK_Up:
      return 38;
    case XK_Right:
      return 39;
    case XK_Down:
      return 40;
    case XK_Select:
      return 41;
    case XK_Execute:
      return 43;
    case XK_Print:
    case XK_Sys_Req:
      return 44;
    case XK_Insert:
      return 45;
    case XK_Delete:
      return 46;
    case XK_Help:
      return 47;
    case XK_Super_L:
      return 91;
    case XK_Super_R:
      return 92;
    case XK_Menu:
      return 93;
    case XK_Num_Lock:
      return 144;
    case XK_Scroll_Lock:
      return 145;
    default:
      return 0;
  }
}

int32_t keysymVirtualKey(uint32_t keysym) {
  if (isKeypadKeysym(keysym)) return keypadVirtualKey(keysym);
  if (int32_t key = printableVirtualKey(keysym)) return key;
  return functionVirtualKey(keysym);
}

int32_t virtualKeyOfScan(int32_t scan) {
  for (const ScanCodeEntry& entry : ScanCodeTable)
    if (entry.scan == scan) return entry.virtualKey;
  return 0;
}

}  // namespace

int32_t virtualKeyOfKeysym(uint32_t unshiftedKeysym, uint32_t lookedUpKeysym, int32_t scanCode) {
  constexpr int32_t extraKeyScan = 86;  // the key left of Z on 102-key keyboards
  if (scanCode == extraKeyScan) return 226;
  if (isKeypadKeysym(lookedUpKeysym)) return keypadVirtualKey(lookedUpKeysym);
  if (int32_t key = keysymVirtualKey(unshiftedKeysym)) return key;
  if (int32_t key = keysymVirtualKey(lookedUpKeysym)) return key;
  return virtualKeyOfScan(scanCode);
}

int32_t sidedVirtualKeyOfKeysym(uint32_t keysym) {
  switch (keysym) {
    case XK_Shift_L:
      return virtualKeyLeftShift;
    case XK_Shift_R:
      return virtualKeyRightShift;
    case XK_Control_L:
      return virtualKeyLeftCtrl;
    case XK_Control_R:
      return virtualKeyRightCtrl;
    case XK_Alt_L:
    case XK_Meta_L:
      return virtualKeyLeftAlt;
    case XK_Alt_R:
    case XK_Meta_R:
    case XK_ISO_Level3_Shift:
    case XK_Mode_switch:
      return virtualKeyRightAlt;
    default:
      return 0;
  }
}

void markKeyDown(uint8_t state[256], uint32_t unshiftedKeysym, uint32_t lookedUpKeysym,
                 int32_t scanCode) {
  int32_t key = virtualKeyOfKeysym(unshiftedKeysym, lookedUpKeysym, scanCode);
  if (key > 0 && key < 256) state[key] |= 0x80;
  if (int32_t sided = sidedVirtualKeyOfKeysym(unshiftedKeysym)) state[sided] |= 0x80;
}

std::string_view typedText(int32_t virtualKey, std::string_view lookedUpText) {
  constexpr int32_t virtualKeyTab = 9, virtualKeyDelete = 46;
  if (virtualKey == virtualKeyDelete) return {};
  if (virtualKey == virtualKeyTab && lookedUpText.empty()) return "\t";
  return lookedUpText;
}

int32_t modifiersOfEvent(uint32_t stateMask, bool rightCtrlHeld, bool rightAltHeld) {
  return modifiersOfHeldKeys(stateMask & modifierMaskShift, stateMask & modifierMaskControl,
                             stateMask & modifierMaskAlt, rightCtrlHeld, rightAltHeld);
}

ScanCode scanCodeOfKeycode(uint32_t keycode) {
  if (keycode < 8) return {0, false};
  uint32_t code = keycode - 8;  // the Linux input code
  if (code >= 1 && code <= 88) return {static_cast<int32_t>(code), false};
  // Keys sent with the E0 prefix, by input code.
  static constexpr struct {
    uint8_t code, scan;
  } prefixed[] = {{96, 28},  {97, 29},  {98, 53},  {99, 55},  {100, 56}, {102, 71}, {103, 72},
                  {104, 73}, {105, 75}, {106, 77}, {107, 79}, {108, 80}, {109, 81}, {110, 82},
                  {111, 83}, {119, 69}, {125, 91}, {126, 92}, {127, 93}};
  for (const auto& key : prefixed)
    if (key.code == code) return {key.scan, true};
  return {0, false};
}

bool KeyRepeatTracker::press(uint32_t keycode) {
  if (keycode >= down_.size()) return false;
  bool wasDown = down_.test(keycode);
  down_.set(keycode);
  return wasDown;
}

void KeyRepeatTracker::release(uint32_t keycode) {
  if (keycode < down_.size()) down_.reset(keycode);
}

}  // namespace krgfx
