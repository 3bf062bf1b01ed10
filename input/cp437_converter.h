// UTF-8 text to code page 437 bytes, for the characters typed in a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace krgfx {

// Converts through the platform's character sets (iconv, or the Win32 code
// page conversions), one "?" for every character that code page 437 lacks
// and for every malformed byte. The platform's converter and the output
// buffer are kept between calls (a window keeps one converter for its life);
// one converter serves one thread.
class Cp437Converter {
 public:
  Cp437Converter();
  ~Cp437Converter();
  Cp437Converter(const Cp437Converter&) = delete;
  Cp437Converter& operator=(const Cp437Converter&) = delete;

  // The bytes for `utf8`; valid until the next call.
  const std::string& convert(std::string_view utf8);
  // The one byte a key types: the text's byte when it converts to exactly
  // one, else 0 (no character, or several).
  uint8_t keyCharacter(std::string_view utf8);

 private:
  // Converts the character at the front of `text` and drops it from there.
  void convertCharacter(std::string_view& text);
  // The platform's part: the code page 437 bytes of one well-formed UTF-8
  // character into `out` (room for 8); their count, 0 when it has none.
  size_t convertWithPlatform(std::string_view character, char* out);

  void* platform_;  // the platform converter's state, if it keeps one
  std::string output_;
};

}  // namespace krgfx
