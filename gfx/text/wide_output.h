// Converting 16-bit text to the bytes the screen prints.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

// The process locale's multibyte form of the characters; when any of them has
// none, characters below 128 as they are and every other one (a surrogate pair
// counting as one) as "?".
std::string narrowForOutput(const char16_t* chars, int32_t length);

// The character of code page 437 byte `code` as a 16-bit character.
char16_t widenCp437(uint8_t code);

}  // namespace krgfx
