// The code page 437 conversion in a browser: Emscripten's iconv marks what
// the code page lacks with '*' where the other platforms give none, so the
// console's own table converts instead.
#include <string_view>

#include "console/cp437.h"
#include "input/cp437_converter.h"

namespace krgfx {

Cp437Converter::Cp437Converter() : platform_(nullptr) {}

Cp437Converter::~Cp437Converter() = default;

size_t Cp437Converter::convertWithPlatform(std::string_view character, char* out) {
  if (character.empty() || character.size() > 4) return 0;
  size_t used = 0;
  char32_t code = decodeUtf8(reinterpret_cast<const uint8_t*>(character.data()), character.size(),
                             &used);
  if (code == malformedUtf8 || used != character.size()) return 0;
  // Overlong forms and surrogates are not characters.
  static constexpr char32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[character.size()] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
    return 0;
  uint8_t byte = unicodeToCp437(code);
  if (byte == '?' && code != U'?') return 0;
  out[0] = static_cast<char>(byte);
  return 1;
}

}  // namespace krgfx
