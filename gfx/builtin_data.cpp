#include "gfx/builtin_data.h"

#include <cstddef>

namespace krgfx {
namespace {

#include "gfx/builtin_data_packed.inc"

uint8_t unpacked[builtinDataSize];
bool isUnpacked = false;

// Undoes tools/make_builtin_data.py: after each flag byte, eight items, a set
// bit a literal byte, a clear bit a back reference of 12-bit distance and
// 4-bit length.
void decompress() {
  size_t in = 0, out = 0;
  while (in < sizeof packedBuiltinData && out < sizeof unpacked) {
    uint8_t flags = packedBuiltinData[in++];
    for (int bit = 0; bit < 8 && in < sizeof packedBuiltinData && out < sizeof unpacked; ++bit) {
      if (flags >> bit & 1) {
        unpacked[out++] = packedBuiltinData[in++];
        continue;
      }
      if (in + 1 >= sizeof packedBuiltinData) return;
      unsigned code = packedBuiltinData[in] << 8 | packedBuiltinData[in + 1];
      in += 2;
      size_t distance = (code >> 4) + 1, length = (code & 15) + 3;
      if (distance > out) return;
      for (size_t k = 0; k < length && out < sizeof unpacked; ++k, ++out)
        unpacked[out] = unpacked[out - distance];
    }
  }
}

}  // namespace

FontDesc fontTable[fontCount] = {{8, 8, nullptr}, {8, 14, nullptr}, {8, 16, nullptr}};
PaletteDesc paletteTable[paletteCount] = {
    {2, nullptr}, {16, nullptr}, {64, nullptr}, {256, nullptr}};

void unpackBuiltinData() {
  if (isUnpacked) return;
  decompress();
  const uint8_t* at = unpacked;
  for (FontDesc& font : fontTable) {
    font.glyphs = at;
    at += 256 * font.height;
  }
  for (PaletteDesc& palette : paletteTable) {
    palette.rgb = at;
    at += 3 * palette.colours;
  }
  isUnpacked = true;
}

const uint8_t* builtinData() { return unpacked; }

}  // namespace krgfx
