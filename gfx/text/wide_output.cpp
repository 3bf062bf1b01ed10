// Wide text to bytes for printing, and typed code page 437 bytes to wide text.
#include "gfx/text/wide_output.h"

#include <climits>
#include <cwchar>

#include "gfx/text/screen_text.h"

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// One character starting at chars[i]: its code point (0xFFFFFFFF for a lone
// surrogate) and how many 16-bit units it took.
char32_t nextCharacter(const char16_t* chars, int32_t length, int32_t i, int32_t* units) {
  char16_t c = chars[i];
  *units = 1;
  if (isHighSurrogate(c) && i + 1 < length && isLowSurrogate(chars[i + 1])) {
    *units = 2;
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (chars[i + 1] - 0xDC00);
  }
  if (isHighSurrogate(c) || isLowSurrogate(c)) return 0xFFFFFFFF;
  return c;
}

bool convertWithLocale(const char16_t* chars, int32_t length, std::string& out) {
  std::mbstate_t state{};
  char bytes[MB_LEN_MAX];
  for (int32_t i = 0, units = 0; i < length; i += units) {
    char32_t c = nextCharacter(chars, length, i, &units);
    if (c == 0xFFFFFFFF) return false;
    size_t count = std::wcrtomb(bytes, static_cast<wchar_t>(c), &state);
    if (count == static_cast<size_t>(-1)) return false;
    out.append(bytes, count);
  }
  return true;
}

std::string convertPlainly(const char16_t* chars, int32_t length) {
  std::string out;
  for (int32_t i = 0, units = 0; i < length; i += units) {
    char32_t c = nextCharacter(chars, length, i, &units);
    out.push_back(c < 128 ? static_cast<char>(c) : '?');
  }
  return out;
}

// Code page 437, bytes 128 to 255.
constexpr char16_t cp437Upper[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

}  // namespace

std::string narrowForOutput(const char16_t* chars, int32_t length) {
  std::string out;
  if (!chars || length <= 0) return out;
  if (convertWithLocale(chars, length, out)) return out;
  return convertPlainly(chars, length);
}

char16_t widenCp437(uint8_t code) { return code < 128 ? code : cp437Upper[code - 128]; }

namespace screenText {

void outputWide(const char16_t* chars, int32_t length, int32_t mask) {
  std::string bytes = narrowForOutput(chars, length);
  outputBytes(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int32_t>(bytes.size()),
              mask);
}

}  // namespace screenText
