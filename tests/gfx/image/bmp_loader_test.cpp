#include <gtest/gtest.h>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "bmp_builder.h"
#include "gfx/draw_context.h"
#include "gfx/image/row_converters.h"
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

constexpr uint32_t fill32 = 0xFFFF00FF;

// A 32x32 picture with one magenta pixel, as 0x00RRGGBB.
uint32_t pictureAt(int32_t x, int32_t y) {
  if (x == 5 && y == 7) return 0xFF00FF;
  return static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 8) << 8 | 0x40;
}

// 24-bit rows of a picture, bottom row first, each padded to 4 bytes.
std::vector<uint8_t> rows24(int32_t width, int32_t height, uint32_t (*picture)(int32_t, int32_t),
                            uint8_t padding = 0) {
  std::vector<uint8_t> rows;
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) {
      uint32_t colour = picture(x, y);
      rows.insert(rows.end(), {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                               static_cast<uint8_t>(colour >> 16)});
    }
    while (rows.size() % 4) rows.push_back(padding);
  }
  return rows;
}

class BmpLoaderTest : public ScreenTest {
 protected:
  static std::string picture32() {
    BmpBuilder bmp{.width = 32, .height = 32, .rows = rows24(32, 32, pictureAt)};
    return writeFile("picture32.bmp", bmp.bytes());
  }
  static std::string write(const BmpBuilder& bmp, const std::string& name = "test.bmp") {
    return writeFile(name, bmp.bytes());
  }
};

}  // namespace

TEST_F(BmpLoaderTest, TwentyFourBitBottomUpPictureAndItsMagenta) {
  openNullScreen();
  void* image = createImage(32, 32, 0, 32, colourNotGiven);
  ASSERT_EQ(loadImageFile(picture32(), image, nullptr), 0);
  EXPECT_EQ(runtimeError(), 0);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x)
      ASSERT_EQ(pixelAt(image, x, y), 0xFF000000 | pictureAt(x, y)) << x << "," << y;
  EXPECT_EQ(pixelAt(image, 5, 7), 0xFFFF00FFu);
  EXPECT_EQ(drawImage(nullptr, 0, 0, image, notGiven, 0, 0, 0, 0, 0, transparentCopy, -1, nullptr,
                      nullptr),
            0);
  EXPECT_EQ(screenPixel(5, 7), 0xFF000000u);
  EXPECT_EQ(screenPixel(6, 7), pictureAt(6, 7));
  destroyImage(image);
}

TEST_F(BmpLoaderTest, SmallerAndLargerImagesTakeTheTopLeft) {
  openNullScreen();
  std::string file = picture32();
  void* small = createImage(16, 16, 0, 32, colourNotGiven);
  ASSERT_EQ(loadImageFile(file, small, nullptr), 0);
  EXPECT_EQ(pixelAt(small, 0, 0), 0xFF000000 | pictureAt(0, 0));
  EXPECT_EQ(pixelAt(small, 15, 15), 0xFF000000 | pictureAt(15, 15));
  void* large = createImage(64, 64, 0, 32, colourNotGiven);
  ASSERT_EQ(loadImageFile(file, large, nullptr), 0);
  EXPECT_EQ(pixelAt(large, 31, 31), 0xFF000000 | pictureAt(31, 31));
  EXPECT_EQ(pixelAt(large, 32, 0), fill32);
  EXPECT_EQ(pixelAt(large, 0, 32), fill32);
  destroyImage(small);
  destroyImage(large);
}

TEST_F(BmpLoaderTest, OntoTheScreenMarksEveryRow) {
  openNullScreen();
  std::memset(gfxScreen->dirtyLines, 0, 600);
  ASSERT_EQ(loadImageFile(picture32(), nullptr, nullptr), 0);
  EXPECT_EQ(screenPixel(31, 0), 0xFF000000 | pictureAt(31, 0));
  EXPECT_EQ(screenPixel(32, 0), 0xFF000000u);
  EXPECT_EQ(dirtyRowCount(), 600);
  EXPECT_EQ(currentContext().target, nullptr);
}

TEST_F(BmpLoaderTest, RowPaddingIsSkipped) {
  openNullScreen();
  auto picture = [](int32_t x, int32_t y) -> uint32_t { return 0x102030u * (x + 1) + y; };
  BmpBuilder bmp{.width = 3, .height = 2, .rows = rows24(3, 2, picture, 0xEE)};
  ASSERT_EQ(bmp.rows.size(), 24u);  // 9 data and 3 padding bytes per row
  GuardedImage image(4, 3, 2, fill32);
  ASSERT_EQ(loadImageFile(write(bmp), image.data(), nullptr), 0);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(pixelAt(image.data(), x, y), 0xFF000000 | picture(x, y));
  EXPECT_TRUE(image.guardsIntact());
}

TEST_F(BmpLoaderTest, SixteenBitPixelsAreFiveFiveFiveByDefault) {
  openNullScreen();
  BmpBuilder bmp{
      .width = 4, .bitCount = 16, .rows = {0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}};
  std::string file = write(bmp);
  void* wide = createImage(4, 1, 0, 32, 0);
  ASSERT_EQ(loadImageFile(file, wide, nullptr), 0);
  EXPECT_EQ(pixelAt(wide, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(pixelAt(wide, 1, 0), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(wide, 2, 0), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(wide, 3, 0), 0xFF0000FFu);
  void* narrow = createImage(4, 1, 0, 16, 0);
  ASSERT_EQ(loadImageFile(file, narrow, nullptr), 0);
  EXPECT_EQ(pixelAt<uint16_t>(narrow, 0, 0), 0xFFFF);
  EXPECT_EQ(pixelAt<uint16_t>(narrow, 1, 0), 0xF800);
  EXPECT_EQ(pixelAt<uint16_t>(narrow, 2, 0), 0x07E0);
  EXPECT_EQ(pixelAt<uint16_t>(narrow, 3, 0), 0x001F);
  destroyImage(wide);
  destroyImage(narrow);
}

TEST_F(BmpLoaderTest, ThirtyTwoBitAlphaAndChannelMasks) {
  openNullScreen();
  void* image = createImage(2, 1, 0, 32, 0);
  // Compression 0: the fourth byte is alpha.
  BmpBuilder plain{.width = 2, .bitCount = 32, .rows = {1, 2, 3, 0x40, 4, 5, 6, 0xFF}};
  ASSERT_EQ(loadImageFile(write(plain), image, nullptr), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0x40030201u);
  // Bit fields after a 40-byte header have no alpha mask.
  BmpBuilder fields = plain;
  fields.compression = 3;
  fields.masks = {0xFF0000, 0xFF00, 0xFF};
  ASSERT_EQ(loadImageFile(write(fields), image, nullptr), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0x00030201u);
  // Ten-bit channels in a 124-byte header, two-bit alpha.
  BmpBuilder wide{.headerSize = 124,
                  .width = 2,
                  .bitCount = 32,
                  .compression = 3,
                  .masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}};
  BmpBuilder::put32(wide.rows, 0xC0000000 | 0x3FFu << 20 | 0x200u << 10 | 0x001);
  BmpBuilder::put32(wide.rows, 0x40000000);
  ASSERT_EQ(loadImageFile(write(wide), image, nullptr), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0xC0FF8000u);  // two bits are too few to repeat
  EXPECT_EQ(pixelAt(image, 1, 0), 0x40000000u);
  // A 5-6-5 file into a 16-bit image keeps its bits.
  void* narrow = createImage(1, 1, 0, 16, 0);
  BmpBuilder rgb565{.width = 1,
                    .bitCount = 16,
                    .compression = 3,
                    .masks = {0xF800, 0x07E0, 0x001F},
                    .rows = {0x34, 0x12, 0, 0}};
  ASSERT_EQ(loadImageFile(write(rgb565), narrow, nullptr), 0);
  EXPECT_EQ(pixelAt<uint16_t>(narrow, 0, 0), 0x1234);
  destroyImage(image);
  destroyImage(narrow);
}

TEST_F(BmpLoaderTest, BitFieldsWithoutADataOffsetStartPastTheirMasks) {
  openNullScreen();
  void* image = createImage(2, 1, 0, 32, 0);
  BmpBuilder fields{.width = 2,
                    .bitCount = 32,
                    .compression = 3,
                    .masks = {0xFF0000, 0xFF00, 0xFF},
                    .rows = {1, 2, 3, 0, 4, 5, 6, 0}};
  std::vector<uint8_t> bytes = fields.bytes();
  std::fill_n(bytes.begin() + 10, 4, 0);  // data offset 0: just past the headers
  ASSERT_EQ(loadImageFile(writeFile("offset0.bmp", bytes), image, nullptr), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0x00030201u);  // not the red mask word
  EXPECT_EQ(pixelAt(image, 1, 0), 0x00060504u);
  destroyImage(image);
}

TEST_F(BmpLoaderTest, PackedPalettePixels) {
  openNullScreen();
  // 1 bit, width 10: two data bytes and two padding bytes per row.
  BmpBuilder oneBit{.width = 10,
                    .height = 2,
                    .bitCount = 1,
                    .palette = {0x000010, 0x200000},
                    .rows = {0x80, 0x40, 0xFF, 0xFF, 0b10110000, 0b01000000, 0xFF, 0xFF}};
  GuardedImage image(4, 10, 2, fill32);
  ASSERT_EQ(loadImageFile(write(oneBit), image.data(), nullptr), 0);
  const uint32_t off = 0xFF000010, on = 0xFF200000;
  const uint32_t top[10] = {on, off, on, on, off, off, off, off, off, on};
  for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(pixelAt(image.data(), x, 0), top[x]) << x;
  EXPECT_EQ(pixelAt(image.data(), 0, 1), on);
  EXPECT_EQ(pixelAt(image.data(), 9, 1), on);
  EXPECT_EQ(pixelAt(image.data(), 8, 1), off);
  EXPECT_TRUE(image.guardsIntact());

  // 3 bits: a new byte every two pixels, top bits first.
  BmpBuilder threeBit{.width = 3, .bitCount = 3, .rows = {0b10101100, 0b11100000, 0, 0}};
  for (uint32_t i = 0; i < 8; ++i) threeBit.palette.push_back(i * 0x10);
  GuardedImage odd(4, 3, 1, fill32);
  ASSERT_EQ(loadImageFile(write(threeBit), odd.data(), nullptr), 0);
  EXPECT_EQ(pixelAt(odd.data(), 0, 0), 0xFF000050u);
  EXPECT_EQ(pixelAt(odd.data(), 1, 0), 0xFF000030u);
  EXPECT_EQ(pixelAt(odd.data(), 2, 0), 0xFF000070u);
  EXPECT_TRUE(odd.guardsIntact());
}

TEST_F(BmpLoaderTest, PaletteGoesToTheScreenOrTheCaller) {
  openRecordedScreen(8);
  BmpBuilder bmp{.width = 2, .bitCount = 8, .rows = {3, 255, 0, 0}};
  for (uint32_t i = 0; i < 256; ++i) bmp.palette.push_back(i << 16 | (255 - i) << 8 | 0x84);
  std::string file = write(bmp);
  void* image = createImage(2, 1, 0, 8, 0);
  testing_drivers::calls.clear();
  ASSERT_EQ(loadImageFile(file, image, nullptr), 0);
  EXPECT_EQ(gfxScreen->devicePalette[3], 0x84FC03u);  // 0x00BBGGRR
  auto sent = testing_drivers::callsStartingWith("GDI.palette");
  ASSERT_EQ(sent.size(), 256u);
  EXPECT_EQ(sent[3], "GDI.palette(3,3,252,132)");
  EXPECT_EQ(pixelAt<uint8_t>(image, 0, 0), 3);
  EXPECT_EQ(pixelAt<uint8_t>(image, 1, 0), 255);

  uint32_t palette[256] = {};
  gfxScreen->devicePalette[3] = 0x123456;
  testing_drivers::calls.clear();
  ASSERT_EQ(loadImageFile(file, image, palette), 0);
  EXPECT_EQ(palette[3], 0x213F00u);  // six-bit components
  EXPECT_EQ(gfxScreen->devicePalette[3], 0x123456u);
  EXPECT_TRUE(testing_drivers::callsStartingWith("GDI.palette").empty());
  destroyImage(image);
}

TEST_F(BmpLoaderTest, PaletteFilesIntoDeeperImagesUseTheDevicePalette) {
  openNullScreen(64, 48, 32);
  BmpBuilder bmp{.width = 1, .bitCount = 4, .rows = {0x20, 0, 0, 0}};
  for (uint32_t i = 0; i < 16; ++i) bmp.palette.push_back(i * 0x111111);
  std::string file = write(bmp);
  void* image = createImage(1, 1, 0, 16, 0);
  ASSERT_EQ(loadImageFile(file, image, nullptr), 0);
  EXPECT_EQ(pixelAt<uint16_t>(image, 0, 0), (0x22 >> 3) << 11 | (0x22 >> 2) << 5 | 0x22 >> 3);
  uint32_t palette[16];
  gfxScreen->devicePalette[2] = 0x0000FF;  // red
  void* wide = createImage(1, 1, 0, 32, 0);
  ASSERT_EQ(loadImageFile(file, wide, palette), 0);
  EXPECT_EQ(pixelAt(wide, 0, 0), 0xFFFF0000u);
  destroyImage(image);
  destroyImage(wide);
}

TEST_F(BmpLoaderTest, RefusedFilesGiveTheirCodes) {
  openNullScreen();
  GuardedImage image(4, 4, 4, fill32);
  BmpBuilder good{.width = 1, .rows = {1, 2, 3, 0}};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int32_t result;
  };
  auto changed = [&](auto change) {
    BmpBuilder bmp = good;
    change(bmp);
    return bmp.bytes();
  };
  std::vector<uint8_t> badMagic = good.bytes();
  badMagic[1] = 'X';
  std::vector<uint8_t> badPlanes = good.bytes();
  badPlanes[26] = 2;
  const Case cases[] = {
      {"empty", {}, errIoFailed},
      {"text", {'H', 'e', 'l', 'l', 'o'}, errIoFailed},
      {"BX", badMagic, errIoFailed},
      {"planes", badPlanes, errIoFailed},
      {"short header", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0}, errIoFailed},
      {"header size 64", changed([](BmpBuilder& b) { b.headerSize = 64; }), errIoFailed},
      {"width 0", changed([](BmpBuilder& b) { b.width = 0; }), errIoFailed},
      {"height 0", changed([](BmpBuilder& b) { b.height = 0; }), errIoFailed},
      {"compression 4", changed([](BmpBuilder& b) { b.compression = 4; }), errIoFailed},
      {"8-bit runs of 24-bit pixels",
       changed([](BmpBuilder& b) { b.bitCount = 24, b.compression = 1; }), errIoFailed},
      {"4-bit runs of 8-bit pixels",
       changed([](BmpBuilder& b) { b.bitCount = 8, b.compression = 2; }), errIoFailed},
      {"top-down run-length",
       changed([](BmpBuilder& b) { b.bitCount = 8, b.compression = 1, b.height = -1; }),
       errIoFailed},
      {"bit count 0", changed([](BmpBuilder& b) { b.bitCount = 0; }), errIoFailed},
      {"bit count 64", changed([](BmpBuilder& b) { b.bitCount = 64; }), errIoFailed},
      {"masks missing", changed([](BmpBuilder& b) { b.compression = 3, b.rows.clear(); }),
       errIoFailed},
      {"rows missing", changed([](BmpBuilder& b) { b.rows.resize(2); }), errIoFailed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(loadImageFile(writeFile("refused.bmp", c.bytes), image.data(), nullptr), c.result)
        << c.what;
    EXPECT_EQ(runtimeError(), c.result) << c.what;
    EXPECT_EQ(pixelAt(image.data(), 0, 0), fill32) << c.what;
  }
  EXPECT_TRUE(image.guardsIntact());
  EXPECT_EQ(loadImageFile(tempPath("no such file.bmp"), image.data(), nullptr), errNoFile);
  EXPECT_EQ(runtimeError(), errNoFile);
}

TEST_F(BmpLoaderTest, DestinationsWithoutAConverterAreRefused) {
  openNullScreen(64, 48, 32);
  std::string deep = write(BmpBuilder{.width = 1, .rows = {1, 2, 3, 0}}, "deep.bmp");
  void* bytes = createImage(1, 1, 0x77, 8, 0);
  EXPECT_EQ(loadImageFile(deep, bytes, nullptr), errBadCall);
  EXPECT_EQ(pixelAt<uint8_t>(bytes, 0, 0), 0x77);
  BmpBuilder huge{.width = 1, .bitCount = 40, .rows = {1, 2, 3, 4, 5, 0, 0, 0}};
  EXPECT_EQ(loadImageFile(write(huge), bytes, nullptr), errBadCall);
  EXPECT_EQ(loadImageFile(write(huge), nullptr, nullptr), errIoFailed);
  GuardedImage threeBytes(3, 2, 2, 0x11111111);
  EXPECT_EQ(loadImageFile(deep, threeBytes.data(), nullptr), errBadCall);
  // A short header of another depth than the screen's.
  uint16_t shortImage[2 + 4] = {2 << 3 | 2, 1, 9, 9, 9, 9};
  EXPECT_EQ(loadImageFile(deep, shortImage, nullptr), errBadCall);
  EXPECT_EQ(shortImage[2], 9);
  uint32_t sameDepth[2] = {1 << 3 | 4 | 1 << 16, 0x12345678};
  EXPECT_EQ(loadImageFile(deep, sameDepth, nullptr), 0);
  EXPECT_EQ(sameDepth[1], 0xFF030201u);
  destroyImage(bytes);
  closeScreen();
  EXPECT_EQ(loadImageFile(deep, sameDepth, nullptr), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(loadImageFile(deep, nullptr, nullptr), errBadCall);
}

TEST_F(BmpLoaderTest, APlainBlockGetsNoHeaderFromARefusedFile) {
  openNullScreen();
  // Each refused after the destination is chosen: masks missing, 40 bits.
  BmpBuilder noMasks{.width = 1, .bitCount = 32, .compression = 3};
  BmpBuilder wide{.width = 1, .bitCount = 40, .rows = {1, 2, 3, 4, 5, 0, 0, 0}};
  for (const BmpBuilder& bmp : {noMasks, wide}) {
    std::vector<uint8_t> block(64, 0);
    EXPECT_EQ(loadImageFile(write(bmp), block.data(), nullptr), errIoFailed);
    EXPECT_EQ(block, std::vector<uint8_t>(64, 0));
  }
}

TEST_F(BmpLoaderTest, DataEndingEarlyKeepsTheRowsRead) {
  openNullScreen();
  BmpBuilder bmp{.width = 1, .height = 3, .rows = {1, 2, 3, 0, 4, 5, 6, 0, 7}};
  GuardedImage image(4, 1, 3, fill32);
  EXPECT_EQ(loadImageFile(write(bmp), image.data(), nullptr), errIoFailed);
  EXPECT_EQ(pixelAt(image.data(), 0, 2), 0xFF030201u);
  EXPECT_EQ(pixelAt(image.data(), 0, 1), 0xFF060504u);
  EXPECT_EQ(pixelAt(image.data(), 0, 0), fill32);
  // Top-down: the first row of the file is row 0.
  bmp.height = -3;
  EXPECT_EQ(loadImageFile(write(bmp), image.data(), nullptr), errIoFailed);
  EXPECT_EQ(pixelAt(image.data(), 0, 0), 0xFF030201u);
  EXPECT_TRUE(image.guardsIntact());
}

TEST_F(BmpLoaderTest, PlainMemoryBlockGetsAHeaderAndEveryPixel) {
  openNullScreen(64, 48, 16);
  BmpBuilder small{.width = 2, .height = 1, .bitCount = 16, .rows = {0xFF, 0x7F, 0, 0x7C}};
  std::vector<uint8_t> block(32 + 2 * 16 + 8 * 16, 0);
  block[20] = 0xAB;  // reserved bytes the header leaves alone
  ASSERT_EQ(loadImageFile(write(small), block.data(), nullptr), 0);
  ImageHeader header;
  std::memcpy(&header, block.data(), sizeof header);
  EXPECT_EQ(header.type, 7u);
  EXPECT_EQ(header.bpp, 2);
  EXPECT_EQ(header.width, 2);
  EXPECT_EQ(header.height, 1);
  EXPECT_EQ(header.pitch, 16);
  EXPECT_EQ(block[20], 0xAB);
  EXPECT_EQ(pixelAt<uint16_t>(block.data(), 1, 0), 0xF800);
  // The same block loaded again as an image of other sizes: its new rows,
  // not the old ones, decide where pixels go.
  std::memset(block.data(), 0, 4);
  std::vector<uint8_t> rows;
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 5; ++x) rows.insert(rows.end(), {0x1F, 0});
    rows.insert(rows.end(), {0, 0});
  }
  BmpBuilder tall{.width = 5, .height = 8, .bitCount = 16, .rows = rows};
  ASSERT_EQ(loadImageFile(write(tall), block.data(), nullptr), 0);
  EXPECT_EQ(image_test::layoutOf(block.data()).pitch, 16);
  EXPECT_EQ(pixelAt<uint16_t>(block.data(), 4, 7), 0x001F);
}

TEST(ChannelMaskTest, DerivedFieldsAndScaling) {
  ChannelMask none = channelMaskOf(0);
  EXPECT_EQ(none.shift + none.bits + none.shifted, 0u);
  ChannelMask green = channelMaskOf(0x07E0);
  EXPECT_EQ(green.shift, 5u);
  EXPECT_EQ(green.bits, 6u);
  EXPECT_EQ(green.shifted, 0x3Fu);
  ChannelMask holes = channelMaskOf(0x80000001);
  EXPECT_EQ(holes.bits, 32u);
  EXPECT_EQ(holes.shifted, 0x80000001u);
  EXPECT_EQ(scaleChannel(31, 5, 8), 255u);
  EXPECT_EQ(scaleChannel(16, 5, 8), 0x84u);
  EXPECT_EQ(scaleChannel(16, 5, 6), 33u);
  EXPECT_EQ(scaleChannel(1, 1, 8), 128u);  // too few bits to repeat
  EXPECT_EQ(scaleChannel(0x3FF, 10, 8), 255u);
  EXPECT_EQ(scaleChannel(0, 0, 8), 0u);
}

}  // namespace krgfx
