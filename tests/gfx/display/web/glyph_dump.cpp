// Prints the built-in 8x8 font's glyphs 32 to 126 as a JSON array of row
// byte arrays (leftmost pixel in bit 0): the browser test reads the text on
// the game's canvas against them, as the native game test reads its window.
#include <cstdio>

#include "gfx/builtin_data.h"

int main() {
  using namespace krgfx;
  unpackBuiltinData();
  const FontDesc& font = fontTable[0];
  std::printf("[");
  for (int glyph = 32; glyph < 127; ++glyph) {
    std::printf("%s[", glyph > 32 ? "," : "");
    for (int row = 0; row < 8; ++row)
      std::printf("%s%d", row ? "," : "", font.glyphs[glyph * 8 + row]);
    std::printf("]");
  }
  std::printf("]\n");
}
