// Code page 437, the character set of the runtime's key codes and printed
// bytes, and its mapping to and from Unicode for the terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace krgfx {

// The character a code page 437 byte shows as a glyph (0 shows as a blank).
char32_t cp437ToUnicode(uint8_t byte);
// The code page 437 byte of a character, or '?' when the code page lacks it.
uint8_t unicodeToCp437(char32_t character);
// Appends the UTF-8 form of a character.
void appendUtf8(std::string& text, char32_t character);

// What decodeUtf8 gives for bytes that start no character.
constexpr char32_t malformedUtf8 = 0xFFFFFFFF;
// The character whose UTF-8 form starts at `bytes` (`length` of them, at
// least one); `*used` is how many it took. A byte that starts no form, or a
// form cut short, gives malformedUtf8, `*used` then covering the bytes up to
// the fault.
char32_t decodeUtf8(const uint8_t* bytes, size_t length, size_t* used);

}  // namespace krgfx
