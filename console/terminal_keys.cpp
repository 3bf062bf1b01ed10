#include "console/terminal_keys.h"

#include <cstring>

#include "console/cp437.h"

namespace krgfx {

namespace {

constexpr uint8_t escape = 0x1B;

constexpr int32_t extendedKey(int32_t scan) { return (scan << 8) | 0xFF; }

// Extended scan values of a key for the normal, Shift, Ctrl and Alt states.
struct KeyColumns {
  int32_t normal, shift, ctrl, alt;
};

constexpr KeyColumns home{0x47, 0x47, 0x77, 0x97};
constexpr KeyColumns up{0x48, 0x48, 0x8D, 0x98};
constexpr KeyColumns pageUp{0x49, 0x49, 0x84, 0x99};
constexpr KeyColumns left{0x4B, 0x4B, 0x73, 0x9B};
constexpr KeyColumns right{0x4D, 0x4D, 0x74, 0x9D};
constexpr KeyColumns end{0x4F, 0x4F, 0x75, 0x9F};
constexpr KeyColumns down{0x50, 0x50, 0x91, 0xA0};
constexpr KeyColumns pageDown{0x51, 0x51, 0x76, 0xA1};
constexpr KeyColumns insert{0x52, 0x52, 0x92, 0xA2};
constexpr KeyColumns del{0x53, 0x53, 0x93, 0xA3};
constexpr KeyColumns f11{133, 135, 137, 139};
constexpr KeyColumns f12{134, 136, 138, 140};
constexpr KeyColumns none{0, 0, 0, 0};

// F1 to F10: scan codes 59 to 68, plus 25, 35 or 45 with Shift, Ctrl or Alt.
constexpr KeyColumns functionKey(int32_t number) {
  if (number == 11) return f11;
  if (number == 12) return f12;
  int32_t scan = 58 + number;
  return {scan, scan + 25, scan + 35, scan + 45};
}

// The xterm modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl). As on the PC,
// Alt wins over Ctrl, Ctrl over Shift.
int32_t codeFor(const KeyColumns& key, int32_t modifier) {
  int32_t bits = modifier > 1 ? modifier - 1 : 0;
  int32_t scan = (bits & 2) ? key.alt : (bits & 4) ? key.ctrl : (bits & 1) ? key.shift : key.normal;
  return scan ? extendedKey(scan) : 0;
}

KeyColumns keyOfLetter(uint8_t letter) {
  switch (letter) {
    case 'A':
      return up;
    case 'B':
      return down;
    case 'C':
      return right;
    case 'D':
      return left;
    case 'H':
      return home;
    case 'F':
      return end;
    case 'P':
      return functionKey(1);
    case 'Q':
      return functionKey(2);
    case 'R':
      return functionKey(3);
    case 'S':
      return functionKey(4);
    default:
      return none;
  }
}

// The number before '~' in "ESC [ n ~".
KeyColumns keyOfNumber(int32_t number) {
  switch (number) {
    case 1:
    case 7:
      return home;
    case 2:
      return insert;
    case 3:
      return del;
    case 4:
    case 8:
      return end;
    case 5:
      return pageUp;
    case 6:
      return pageDown;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
      return functionKey(number - 10);
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
      return functionKey(number - 11);
    case 23:
      return f11;
    case 24:
      return f12;
    default:
      return none;
  }
}

// Scan code of a letter or digit key on the PC keyboard, 0 for others.
int32_t scanOfKey(uint8_t byte) {
  static constexpr const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  static constexpr int32_t firstScan[] = {16, 30, 44};
  uint8_t lower = (byte >= 'A' && byte <= 'Z') ? static_cast<uint8_t>(byte + 32) : byte;
  for (int row = 0; row < 3; ++row) {
    const char* found = std::strchr(rows[row], lower);
    if (lower && found) return firstScan[row] + static_cast<int32_t>(found - rows[row]);
  }
  if (byte >= '1' && byte <= '9') return byte - '1' + 2;
  if (byte == '0') return 11;
  if (byte == '-') return 12;
  if (byte == '=') return 13;
  return 0;
}

// Alt with a letter, Enter or Tab gives the key's scan code; with a digit,
// '-' or '=' the scan code plus 118; Alt with anything else is the key alone.
int32_t altKey(uint8_t byte) {
  if (byte == 0x7F || byte == 8) return extendedKey(224);  // Alt+Backspace
  if (byte == '\r') return extendedKey(28);                // Alt+Enter
  if (byte == '\t') return extendedKey(15);                // Alt+Tab
  int32_t scan = scanOfKey(byte);
  if (scan >= 16) return extendedKey(scan);
  if (scan >= 2) return extendedKey(scan + 118);
  return byte;
}

// A control sequence "ESC [ parameters final" starting at bytes[0] = ESC.
int32_t decodeControlSequence(const uint8_t* bytes, size_t length, size_t* used) {
  size_t at = 2;
  if (at < length && bytes[at] == '[') {  // Linux console: ESC [ [ A to E is F1 to F5
    *used = at + 2 <= length ? at + 2 : length;
    if (at + 1 >= length) return 0;
    uint8_t letter = bytes[at + 1];
    return (letter >= 'A' && letter <= 'E') ? codeFor(functionKey(letter - 'A' + 1), 1) : 0;
  }
  int32_t parameters[2] = {0, 1};
  int32_t count = 0;
  while (at < length && bytes[at] >= 0x20 && bytes[at] <= 0x3F) {
    uint8_t byte = bytes[at++];
    if (byte == ';') {
      ++count;
      if (count < 2) parameters[count] = 0;
    } else if (byte >= '0' && byte <= '9' && count < 2 && parameters[count] < 10000) {
      parameters[count] = parameters[count] * 10 + (byte - '0');
    }
  }
  if (at >= length) {  // cut off: drop it
    *used = length;
    return 0;
  }
  uint8_t final = bytes[at];
  *used = at + 1;
  if (final == '~') return codeFor(keyOfNumber(parameters[0]), parameters[1]);
  return codeFor(keyOfLetter(final), parameters[1]);
}

// "ESC O letter", optionally with a modifier digit before the letter.
int32_t decodeShiftThree(const uint8_t* bytes, size_t length, size_t* used) {
  size_t at = 2;
  int32_t modifier = 1;
  if (at < length && bytes[at] >= '1' && bytes[at] <= '9') modifier = bytes[at++] - '0';
  if (at >= length) {
    *used = length;
    return 0;
  }
  *used = at + 1;
  return codeFor(keyOfLetter(bytes[at]), modifier);
}

// A UTF-8 character starting at a byte of 0x80 or more.
int32_t terminalCharacter(const uint8_t* bytes, size_t length, size_t* used) {
  char32_t character = decodeUtf8(bytes, length, used);
  return character == malformedUtf8 ? '?' : unicodeToCp437(character);
}

}  // namespace

int32_t decodeTerminalKey(const uint8_t* bytes, size_t length, size_t* used) {
  *used = 1;
  uint8_t byte = bytes[0];
  if (byte == escape) {
    if (length == 1) return escape;
    if (bytes[1] == '[') return decodeControlSequence(bytes, length, used);
    if (bytes[1] == 'O') return decodeShiftThree(bytes, length, used);
    if (bytes[1] == escape) return escape;  // the second one starts the next key
    *used = 2;
    return altKey(bytes[1]);
  }
  if (byte == 0x7F) return 8;  // the Backspace key of most terminals
  if (byte >= 0x80) return terminalCharacter(bytes, length, used);
  return byte;  // 0 (Ctrl+Space) stands for no key
}

}  // namespace krgfx
