// Code page 437, the character set of the runtime's key codes and printed
// bytes, and its mapping to and from Unicode for the terminal.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

// The character a code page 437 byte shows as a glyph (0 shows as a blank).
char32_t cp437ToUnicode(uint8_t byte);
// The code page 437 byte of a character, or '?' when the code page lacks it.
uint8_t unicodeToCp437(char32_t character);
// Appends the UTF-8 form of a character.
void appendUtf8(std::string& text, char32_t character);

}  // namespace krgfx
