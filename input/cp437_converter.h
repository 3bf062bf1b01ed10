// UTF-8 text to code page 437 bytes, for the characters typed in a window.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>

// Converts through iconv, one "?" for every character that code page 437
// lacks and for every malformed byte. The iconv descriptor and the output
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

  iconv_t descriptor_;
  std::string output_;
};
