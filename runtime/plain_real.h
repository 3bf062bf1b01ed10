// Reading a real number as the "C" locale writes it, whatever locale the
// program runs in.
#pragma once

namespace krgfx {

// strtod's value of `text` with '.' as the decimal point.
double plainStrtod(const char* text);

}  // namespace krgfx
