// Wide text to bytes for printing, and typed code page 437 bytes to wide text.
#include "gfx/text/wide_output.h"

#include <climits>
#include <cwchar>

#include "console/cp437.h"
#include "gfx/text/screen_text.h"

namespace krgfx {

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

}  // namespace

std::string narrowForOutput(const char16_t* chars, int32_t length) {
  std::string out;
  if (!chars || length <= 0) return out;
  if (convertWithLocale(chars, length, out)) return out;
  return convertPlainly(chars, length);
}

// Bytes below 128 stay as they are: control bytes keep their meaning here.
char16_t widenCp437(uint8_t code) {
  return code < 128 ? code : static_cast<char16_t>(cp437ToUnicode(code));
}

namespace screenText {

void outputWide(const char16_t* chars, int32_t length, int32_t mask) {
  std::string bytes = narrowForOutput(chars, length);
  outputBytes(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int32_t>(bytes.size()),
              mask);
}

}  // namespace screenText

}  // namespace krgfx
