#include "gfx/builtin_data.h"

#include <gtest/gtest.h>

#include <vector>

namespace krgfx {

namespace {
std::vector<uint8_t> glyph(int font, int code) {
  const FontDesc& desc = fontTable[font];
  const uint8_t* start = desc.glyphs + code * desc.height;
  return {start, start + desc.height};
}
}  // namespace

TEST(BuiltinData, UnpacksIntoOneBlockOfFontsThenPalettes) {
  unpackBuiltinData();
  EXPECT_EQ(fontTable[0].glyphs, builtinData());
  EXPECT_EQ(fontTable[1].glyphs, builtinData() + 2048);
  EXPECT_EQ(fontTable[2].glyphs, builtinData() + 2048 + 3584);
  EXPECT_EQ(paletteTable[0].rgb, builtinData() + 9728);
  EXPECT_EQ(paletteTable[3].rgb + 768, builtinData() + builtinDataSize);
}

TEST(BuiltinData, GlyphsHaveTheLeftmostPixelInBitZero) {
  unpackBuiltinData();
  // 'A' of the ROM fonts, each row byte mirrored.
  EXPECT_EQ(glyph(0, 'A'), (std::vector<uint8_t>{0x0c, 0x1e, 0x33, 0x33, 0x3f, 0x33, 0x33, 0x00}));
  EXPECT_EQ(glyph(1, 'A'), (std::vector<uint8_t>{0x00, 0x00, 0x08, 0x1c, 0x36, 0x63, 0x63, 0x7f,
                                                 0x63, 0x63, 0x63, 0x00, 0x00, 0x00}));
  EXPECT_EQ(glyph(2, 'A'), (std::vector<uint8_t>{0x00, 0x00, 0x08, 0x1c, 0x36, 0x63, 0x63, 0x7f,
                                                 0x63, 0x63, 0x63, 0x63, 0x00, 0x00, 0x00, 0x00}));
}

TEST(BuiltinData, PalettesFollowTheAdapterRules) {
  unpackBuiltinData();
  auto colour = [](int palette, int index) {
    const uint8_t* rgb = paletteTable[palette].rgb + 3 * index;
    return std::vector<int>{rgb[0], rgb[1], rgb[2]};
  };
  EXPECT_EQ(colour(0, 0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(colour(0, 1), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(colour(1, 6), (std::vector<int>{170, 85, 0}));
  EXPECT_EQ(colour(1, 9), (std::vector<int>{85, 85, 255}));
  EXPECT_EQ(colour(2, 0x3F), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(colour(2, 0x14), (std::vector<int>{170, 85, 0}));
  EXPECT_EQ(colour(3, 6), (std::vector<int>{170, 85, 0}));
  const int greyRamp[16] = {0, 20, 32, 44, 56, 68, 80, 97, 113, 129, 145, 161, 182, 202, 226, 255};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(colour(3, 16 + i), (std::vector<int>(3, greyRamp[i])));
  EXPECT_EQ(colour(3, 248), (std::vector<int>{0, 0, 0}));
}

}  // namespace krgfx
