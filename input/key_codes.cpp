#include "input/key_codes.h"

namespace krgfx {

const ScanCodeEntry ScanCodeTable[scanCodeTableSize] = {
    {1, 27, 0},    {2, 49, 0},    {3, 50, 0},    {4, 51, 0},   {5, 52, 0},     {6, 53, 0},
    {7, 54, 0},    {8, 55, 0},    {9, 56, 0},    {10, 57, 0},  {11, 48, 0},    {12, 189, 109},
    {13, 187, 0},  {14, 8, 0},    {15, 9, 0},    {16, 81, 0},  {17, 87, 0},    {18, 69, 0},
    {19, 82, 0},   {20, 84, 0},   {21, 89, 0},   {22, 85, 0},  {23, 73, 0},    {24, 79, 0},
    {25, 80, 0},   {26, 219, 0},  {27, 221, 0},  {28, 13, 0},  {29, 17, 0},    {30, 65, 0},
    {31, 83, 0},   {32, 68, 0},   {33, 70, 0},   {34, 71, 0},  {35, 72, 0},    {36, 74, 0},
    {37, 75, 0},   {38, 76, 0},   {39, 186, 0},  {40, 222, 0}, {41, 192, 0},   {42, 16, 0},
    {43, 220, 0},  {44, 90, 0},   {45, 88, 0},   {46, 67, 0},  {47, 86, 0},    {48, 66, 0},
    {49, 78, 0},   {50, 77, 0},   {51, 188, 0},  {52, 190, 0}, {53, 191, 111}, {54, 16, 0},
    {55, 106, 0},  {56, 18, 0},   {57, 32, 0},   {58, 20, 0},  {59, 112, 0},   {60, 113, 0},
    {61, 114, 0},  {62, 115, 0},  {63, 116, 0},  {64, 117, 0}, {65, 118, 0},   {66, 119, 0},
    {67, 120, 0},  {68, 121, 0},  {69, 144, 0},  {70, 145, 0}, {71, 36, 103},  {72, 38, 104},
    {73, 33, 105}, {75, 37, 100}, {77, 39, 102}, {78, 107, 0}, {79, 35, 97},   {80, 40, 98},
    {81, 34, 99},  {82, 45, 96},  {83, 46, 110}, {87, 122, 0}, {88, 123, 0},   {91, 91, 0},
    {92, 92, 0},   {93, 93, 0},
};

namespace {

// A table entry whose extended scan value is `value`.
constexpr uint16_t extended(int32_t value) { return static_cast<uint16_t>(value << 8); }

constexpr std::array<KeyCodeRow, keyCodeTableSize> buildKeyCodeTable() {
  std::array<KeyCodeRow, keyCodeTableSize> table{};
  auto set = [&table](int32_t scan, int32_t state, int32_t value) {
    table[scan][state] = extended(value);
  };
  set(1, keyStateAlt, 1);
  for (int32_t scan = 2; scan <= 13; ++scan) set(scan, keyStateAlt, scan + 118);
  set(3, keyStateCtrl, 3);
  set(14, keyStateAlt, 224);
  set(15, keyStateShift, 15);
  set(15, keyStateCtrl, 148);
  set(15, keyStateAlt, 15);
  for (int32_t scan = 16; scan <= 53; ++scan) {
    bool typesCharacter = scan != 29 && scan != 42 && scan != 43;
    if (typesCharacter) set(scan, keyStateAlt, scan);
  }
  for (int32_t scan = 59; scan <= 68; ++scan) {
    set(scan, keyStateNormal, scan);
    set(scan, keyStateShift, scan + 25);
    set(scan, keyStateCtrl, scan + 35);
    set(scan, keyStateAlt, scan + 45);
  }
  // The keypad's navigation keys: scan code and its Ctrl code.
  constexpr int32_t keypad[][2] = {{71, 119}, {72, 141}, {73, 132}, {75, 115}, {76, 143}, {77, 116},
                                   {79, 117}, {80, 145}, {81, 118}, {82, 146}, {83, 147}};
  for (const auto& key : keypad) {
    set(key[0], keyStateNormal, key[0]);
    set(key[0], keyStateCtrl, key[1]);
  }
  set(76, keyStateAlt, 76);
  for (int32_t state = 0; state < 4; ++state) {
    set(87, state, 133 + 2 * state);  // F11
    set(88, state, 134 + 2 * state);  // F12
  }
  return table;
}

bool isDown(const uint8_t state[256], int32_t virtualKey) { return state[virtualKey] & 0x80; }

// The column of the tables for a modifier word: Alt before Ctrl before Shift.
int32_t keyStateOf(int32_t modifiers) {
  if (modifiers & (modifierAlt | modifierRightAlt)) return keyStateAlt;
  if (modifiers & (modifierCtrl | modifierRightCtrl)) return keyStateCtrl;
  if (modifiers & modifierShift) return keyStateShift;
  return keyStateNormal;
}

int32_t extendedCodeOf(int32_t entry) { return (entry & 0xFF00) | 0xFF; }

int32_t swapCase(int32_t character) {
  if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
  if (character >= 'A' && character <= 'Z') return character - 'A' + 'a';
  return character;
}

int32_t enhancedKeyCode(int32_t scan, int32_t modifiers) {
  for (const EnhancedKeyEntry& entry : EnhancedKeyTable) {
    if (entry.scan != scan) continue;
    int32_t state = keyStateOf(modifiers);
    int32_t code = entry.codes[state];
    if (code == 0 && state != keyStateNormal) return -1;
    return code < 256 ? code : extendedCodeOf(code);
  }
  return -1;
}

}  // namespace

const std::array<KeyCodeRow, keyCodeTableSize> KeyCodeTable = buildKeyCodeTable();

const EnhancedKeyEntry EnhancedKeyTable[enhancedKeyTableSize] = {
    {28, {0x000D, 0x000D, 0x000A, 0xA600}}, {53, {0x002F, 0x003F, 0x9500, 0xA400}},
    {71, {0x4700, 0x4700, 0x7700, 0x9700}}, {72, {0x4800, 0x4800, 0x8D00, 0x9800}},
    {73, {0x4900, 0x4900, 0x8400, 0x9900}}, {75, {0x4B00, 0x4B00, 0x7300, 0x9B00}},
    {77, {0x4D00, 0x4D00, 0x7400, 0x9D00}}, {79, {0x4F00, 0x4F00, 0x7500, 0x9F00}},
    {80, {0x5000, 0x5000, 0x9100, 0xA000}}, {81, {0x5100, 0x5100, 0x7600, 0xA100}},
    {82, {0x5200, 0x5200, 0x9200, 0xA200}}, {83, {0x5300, 0x5300, 0x9300, 0xA300}},
};

int32_t makeKeyCode(int32_t character, int32_t scan, int32_t unshiftedCharacter,
                    int32_t modifiers) {
  int32_t typed = character & 0xFF;
  if ((modifiers & modifierEnhanced) && typed == 0) return enhancedKeyCode(scan, modifiers);
  if (scan < 0 || scan >= keyCodeTableSize) return typed ? typed : -1;

  int32_t unshifted = unshiftedCharacter & 0xFFFF;
  int32_t state = keyStateOf(modifiers);
  int32_t entry = (state == keyStateNormal && typed != 0) ? unshifted : KeyCodeTable[scan][state];
  bool sameKey = typed == unshifted || typed == swapCase(unshifted);
  if (entry >= 256 && sameKey) return extendedCodeOf(entry);
  return typed ? typed : -1;
}

int32_t scanCodeOf(int32_t virtualKey) {
  if (virtualKey == 0 || virtualKey == virtualKeyEscape) return 1;
  for (const ScanCodeEntry& entry : ScanCodeTable) {
    if (entry.scan < 2) continue;
    if (entry.virtualKey == virtualKey || entry.alternativeVirtualKey == virtualKey)
      return entry.scan;
  }
  return 0;
}

int32_t modifiersOf(const uint8_t state[256], bool enhanced) {
  int32_t modifiers = 0;
  if (isDown(state, virtualKeyShift) || isDown(state, virtualKeyLeftShift) ||
      isDown(state, virtualKeyRightShift))
    modifiers |= modifierShift;
  if (isDown(state, virtualKeyCtrl) || isDown(state, virtualKeyLeftCtrl)) modifiers |= modifierCtrl;
  if (isDown(state, virtualKeyRightCtrl)) modifiers |= modifierRightCtrl;
  if (isDown(state, virtualKeyAlt) || isDown(state, virtualKeyLeftAlt)) modifiers |= modifierAlt;
  if (isDown(state, virtualKeyRightAlt)) modifiers |= modifierRightAlt;
  if (enhanced) modifiers |= modifierEnhanced;
  return modifiers;
}

int32_t modifiersOfHeldKeys(bool shift, bool ctrl, bool alt, bool rightCtrlHeld,
                            bool rightAltHeld) {
  int32_t modifiers = 0;
  if (shift) modifiers |= modifierShift;
  if (ctrl || rightCtrlHeld) modifiers |= modifierCtrl;
  if (rightCtrlHeld) modifiers |= modifierRightCtrl;
  if (alt || rightAltHeld) modifiers |= modifierAlt;
  if (rightAltHeld) modifiers |= modifierRightAlt;
  return modifiers;
}

uint8_t unshiftedCharacterOf(int32_t virtualKey) {
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9') ||
      virtualKey == ' ')
    return static_cast<uint8_t>(virtualKey);
  if (virtualKey >= 96 && virtualKey <= 105) return static_cast<uint8_t>('0' + virtualKey - 96);
  switch (virtualKey) {
    case 8:
    case 9:
    case 13:
    case 27:
      return static_cast<uint8_t>(virtualKey);
    case 106:
      return '*';
    case 107:
      return '+';
    case 109:
      return '-';
    case 110:
      return '.';
    case 111:
      return '/';
    case 186:
      return ';';
    case 187:
      return '=';
    case 188:
      return ',';
    case 189:
      return '-';
    case 190:
      return '.';
    case 191:
      return '/';
    case 192:
      return '`';
    case 219:
      return '[';
    case 220:
      return '\\';
    case 221:
      return ']';
    case 222:
      return '\'';
    default:
      return 0;
  }
}

bool isSystemKey(int32_t virtualKey, bool altDown, bool ctrlDown) {
  if (virtualKey == virtualKeyF10 || virtualKey == virtualKeyAlt) return true;
  return altDown && !ctrlDown;
}

}  // namespace krgfx
