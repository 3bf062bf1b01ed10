// The screen's work page as a program reaches it: through imagePixels, which
// tells the library that rows may change without its drawing operations.
#pragma once

#include <cstdint>

#include <krgfx/draw.h>

namespace krgfx {

inline uint8_t* screenPixels() { return imagePixels(nullptr, nullptr, nullptr, nullptr, nullptr); }

}  // namespace krgfx
