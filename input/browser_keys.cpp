#include "input/browser_keys.h"

#include "input/key_codes.h"

namespace krgfx {

namespace {

struct CodeEntry {
  std::string_view code;
  uint8_t scan;
  bool enhanced;
};

// The physical keys of a PC keyboard by their KeyboardEvent.code names.
constexpr CodeEntry codeTable[] = {
    {"Escape", 1, false},
    {"Digit1", 2, false},
    {"Digit2", 3, false},
    {"Digit3", 4, false},
    {"Digit4", 5, false},
    {"Digit5", 6, false},
    {"Digit6", 7, false},
    {"Digit7", 8, false},
    {"Digit8", 9, false},
    {"Digit9", 10, false},
    {"Digit0", 11, false},
    {"Minus", 12, false},
    {"Equal", 13, false},
    {"Backspace", 14, false},
    {"Tab", 15, false},
    {"KeyQ", 16, false},
    {"KeyW", 17, false},
    {"KeyE", 18, false},
    {"KeyR", 19, false},
    {"KeyT", 20, false},
    {"KeyY", 21, false},
    {"KeyU", 22, false},
    {"KeyI", 23, false},
    {"KeyO", 24, false},
    {"KeyP", 25, false},
    {"BracketLeft", 26, false},
    {"BracketRight", 27, false},
    {"Enter", 28, false},
    {"ControlLeft", 29, false},
    {"KeyA", 30, false},
    {"KeyS", 31, false},
    {"KeyD", 32, false},
    {"KeyF", 33, false},
    {"KeyG", 34, false},
    {"KeyH", 35, false},
    {"KeyJ", 36, false},
    {"KeyK", 37, false},
    {"KeyL", 38, false},
    {"Semicolon", 39, false},
    {"Quote", 40, false},
    {"Backquote", 41, false},
    {"ShiftLeft", 42, false},
    {"Backslash", 43, false},
    {"KeyZ", 44, false},
    {"KeyX", 45, false},
    {"KeyC", 46, false},
    {"KeyV", 47, false},
    {"KeyB", 48, false},
    {"KeyN", 49, false},
    {"KeyM", 50, false},
    {"Comma", 51, false},
    {"Period", 52, false},
    {"Slash", 53, false},
    {"ShiftRight", 54, false},
    {"NumpadMultiply", 55, false},
    {"AltLeft", 56, false},
    {"Space", 57, false},
    {"CapsLock", 58, false},
    {"F1", 59, false},
    {"F2", 60, false},
    {"F3", 61, false},
    {"F4", 62, false},
    {"F5", 63, false},
    {"F6", 64, false},
    {"F7", 65, false},
    {"F8", 66, false},
    {"F9", 67, false},
    {"F10", 68, false},
    {"NumLock", 69, false},
    {"ScrollLock", 70, false},
    {"Numpad7", 71, false},
    {"Numpad8", 72, false},
    {"Numpad9", 73, false},
    {"NumpadSubtract", 74, false},
    {"Numpad4", 75, false},
    {"Numpad5", 76, false},
    {"Numpad6", 77, false},
    {"NumpadAdd", 78, false},
    {"Numpad1", 79, false},
    {"Numpad2", 80, false},
    {"Numpad3", 81, false},
    {"Numpad0", 82, false},
    {"NumpadDecimal", 83, false},
    {"IntlBackslash", 86, false},
    {"F11", 87, false},
    {"F12", 88, false},
    {"NumpadEnter", 28, true},
    {"ControlRight", 29, true},
    {"NumpadDivide", 53, true},
    {"PrintScreen", 55, true},
    {"AltRight", 56, true},
    {"Pause", 69, true},
    {"Home", 71, true},
    {"ArrowUp", 72, true},
    {"PageUp", 73, true},
    {"ArrowLeft", 75, true},
    {"ArrowRight", 77, true},
    {"End", 79, true},
    {"ArrowDown", 80, true},
    {"PageDown", 81, true},
    {"Insert", 82, true},
    {"Delete", 83, true},
    {"MetaLeft", 91, true},
    {"MetaRight", 92, true},
    {"OSLeft", 91, true},
    {"OSRight", 92, true},
    {"ContextMenu", 93, true},
};

int32_t sidedVirtualKeyOf(std::string_view code) {
  if (code == "ShiftLeft") return virtualKeyLeftShift;
  if (code == "ShiftRight") return virtualKeyRightShift;
  if (code == "ControlLeft") return virtualKeyLeftCtrl;
  if (code == "ControlRight") return virtualKeyRightCtrl;
  if (code == "AltLeft") return virtualKeyLeftAlt;
  if (code == "AltRight") return virtualKeyRightAlt;
  return 0;
}

// Firefox numbers three OEM keys and the Windows keys its own way.
int32_t mendedVirtualKey(int32_t keyCode) {
  switch (keyCode) {
    case 59:
      return 186;  // ;
    case 61:
      return 187;  // =
    case 173:
      return 189;  // -
    case 224:
      return 91;  // Meta
    default:
      return keyCode > 0 && keyCode < 256 ? keyCode : 0;
  }
}

// The number of UTF-8 characters in text.
size_t characterCount(std::string_view text) {
  size_t count = 0;
  for (char byte : text)
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace

BrowserKey browserKeyOf(std::string_view code, int32_t keyCode) {
  BrowserKey key{mendedVirtualKey(keyCode), sidedVirtualKeyOf(code), 0, false};
  for (const CodeEntry& entry : codeTable) {
    if (entry.code != code) continue;
    key.scanCode = entry.scan;
    key.enhanced = entry.enhanced;
    return key;
  }
  // A key of another kind of keyboard: the scan code its virtual key has.
  if (key.virtualKey) key.scanCode = scanCodeOf(key.virtualKey);
  return key;
}

std::string browserKeyText(std::string_view key, bool ctrl, bool alt) {
  if (key == "Enter") return "\r";
  if (key == "Backspace") return "\b";
  if (key == "Tab") return "\t";
  if (key == "Escape") return "\x1b";
  if (key.empty() || characterCount(key) != 1) return {};
  char first = key[0];
  bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
  if (ctrl && !alt && letter) return std::string(1, static_cast<char>(first & 0x1F));
  return std::string(key);
}

int32_t browserButtonBit(int32_t button) {
  static constexpr int32_t bits[] = {0x1, 0x4, 0x2, 0x8, 0x10};
  return button >= 0 && button < 5 ? bits[button] : 0;
}

int32_t browserWheelDelta(double delta) {
  constexpr int32_t notch = 120;
  if (delta == 0) return 0;
  // Pixel deltas of about 100 a notch, line deltas of about 3.
  double notches = delta / (delta > 20 || delta < -20 ? 100.0 : 3.0);
  int32_t whole = static_cast<int32_t>(notches);
  if (whole == 0) whole = delta > 0 ? 1 : -1;
  return -whole * notch;
}

}  // namespace krgfx
