// The built-in fonts (8x8, 8x14, 8x16) and palettes (2, 16, 64, 256 colours),
// unpacked once per process from their stored form.
#pragma once

#include <cstdint>

#include "gfx/screen.h"

namespace krgfx {

constexpr int32_t builtinDataSize = 10742;
constexpr int32_t fontCount = 3;
constexpr int32_t paletteCount = 4;

// Unpacks the block on the first call; later calls do nothing.
void unpackBuiltinData();

// The unpacked block: fonts first, then palettes. Valid after unpackBuiltinData.
const uint8_t* builtinData();

extern FontDesc fontTable[fontCount];
extern PaletteDesc paletteTable[paletteCount];

}  // namespace krgfx
