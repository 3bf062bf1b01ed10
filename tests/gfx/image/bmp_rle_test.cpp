// Run-length encoded BMP files (RLE8 and RLE4): every code, and runs that
// reach past their row, past the picture or past the end of the data.
#include <gtest/gtest.h>

#include <vector>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "bmp_builder.h"
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

constexpr uint32_t fill32 = 0xFFFF00FF;
constexpr int32_t untouched = -1;

uint32_t paletteColour(int32_t index) { return 0x00102030u + static_cast<uint32_t>(index); }

std::string rleFile(int32_t bitCount, int32_t width, int32_t height,
                    const std::vector<uint8_t>& data) {
  BmpBuilder bmp{.width = width, .height = height, .bitCount = bitCount};
  bmp.compression = bitCount == 8 ? 1 : 2;
  for (int32_t i = 0; i < (1 << bitCount); ++i) bmp.palette.push_back(paletteColour(i));
  bmp.rows = data;
  return writeFile("runs.bmp", bmp.bytes());
}

// Each pixel of the image is the palette colour of its index, or the fill
// where the data left it untouched.
void expectIndices(uint8_t* image, const std::vector<std::vector<int32_t>>& indices) {
  for (size_t y = 0; y < indices.size(); ++y)
    for (size_t x = 0; x < indices[y].size(); ++x) {
      int32_t index = indices[y][x];
      uint32_t expected = index == untouched ? fill32 : 0xFF000000u | paletteColour(index);
      EXPECT_EQ(pixelAt(image, static_cast<int32_t>(x), static_cast<int32_t>(y)), expected)
          << x << "," << y;
    }
}

class BmpRleTest : public ScreenTest {};

}  // namespace

TEST_F(BmpRleTest, EightBitRunsAbsoluteRunsDeltaLineAndBitmapEnds) {
  openNullScreen();
  GuardedImage image(4, 6, 4, fill32);
  const int32_t _ = untouched;
  std::string file = rleFile(8, 6, 4, {3, 1,              // bottom row: three of index 1
                                       0, 3, 5, 6, 7, 0,  // three given one by one, padded to even
                                       0, 0,              // end of line
                                       0, 2, 2, 1,    // two right, one up: row 1 from the top, x 2
                                       2, 9, 0, 0,    // two of index 9, end of line
                                       1, 4, 0, 1});  // top row: one of index 4, end of bitmap
  EXPECT_EQ(loadImageFile(file, image.data(), nullptr), 0);
  expectIndices(image.data(),
                {{4, _, _, _, _, _}, {_, _, 9, 9, _, _}, {_, _, _, _, _, _}, {1, 1, 1, 5, 6, 7}});
  EXPECT_TRUE(image.guardsIntact());
}

TEST_F(BmpRleTest, FourBitRunsAlternateTheirTwoIndices) {
  openNullScreen();
  GuardedImage image(4, 7, 2, fill32);
  const int32_t _ = untouched;
  std::string file = rleFile(4, 7, 2,
                             {5, 0x12,                 // 1 2 1 2 1
                              0, 3, 0x34, 0x50,        // 3 4 5, cut after the row's end
                              0, 0,                    //
                              0, 5, 0x67, 0x89, 0xA0,  // 6 7 8 9 10, padded
                              0, 0, 1});               // end of bitmap
  EXPECT_EQ(loadImageFile(file, image.data(), nullptr), 0);
  expectIndices(image.data(), {{6, 7, 8, 9, 10, _, _}, {1, 2, 1, 2, 1, 3, 4}});
  EXPECT_TRUE(image.guardsIntact());
}

TEST_F(BmpRleTest, HostileRunsAreCutAtTheRowAndThePicture) {
  openNullScreen();
  const int32_t _ = untouched;
  {
    // A bitmap 3 wide in an image 8 wide: an encoded and an absolute run of
    // 255 stop at the bitmap's third column, not at the image's edge, and
    // never wrap to another row.
    GuardedImage image(4, 8, 2, fill32);
    std::vector<uint8_t> data = {255, 2, 0, 0, 0, 255};
    data.insert(data.end(), 255, 5);
    data.insert(data.end(), {0, 0, 1});  // the padding byte, end of bitmap
    EXPECT_EQ(loadImageFile(rleFile(8, 3, 2, data), image.data(), nullptr), 0);
    expectIndices(image.data(), {{5, 5, 5, _, _, _, _, _}, {2, 2, 2, _, _, _, _, _}});
    EXPECT_TRUE(image.guardsIntact());
  }
  {
    // A delta far to the right, and one past the top: nothing more is drawn.
    GuardedImage image(4, 4, 2, fill32);
    std::string file = rleFile(8, 4, 2, {1, 3, 0, 2, 250, 0, 4, 5, 0, 2, 0, 200, 4, 6, 0, 1});
    EXPECT_EQ(loadImageFile(file, image.data(), nullptr), 0);
    expectIndices(image.data(), {{_, _, _, _}, {3, _, _, _}});
    EXPECT_TRUE(image.guardsIntact());
  }
  {
    // More ends of line than rows: decoding stops at the top.
    GuardedImage image(4, 2, 2, fill32);
    std::vector<uint8_t> data;
    for (int i = 0; i < 300; ++i) data.insert(data.end(), {1, 7, 0, 0});
    EXPECT_EQ(loadImageFile(rleFile(8, 2, 2, data), image.data(), nullptr), 0);
    expectIndices(image.data(), {{7, _}, {7, _}});
    EXPECT_TRUE(image.guardsIntact());
  }
}

TEST_F(BmpRleTest, DataEndingEarlyKeepsTheRunsDecoded) {
  openNullScreen();
  const int32_t _ = untouched;
  const std::vector<uint8_t> cut[] = {
      {2, 3, 0, 0},              // no end of bitmap
      {2, 3, 0, 0, 0, 5, 1, 2},  // an absolute run of 5 with 2 given
      {2, 3, 0, 0, 0, 2, 1},     // a delta without its second byte
      {2, 3, 0, 0, 1},           // half a code
  };
  for (const std::vector<uint8_t>& data : cut) {
    GuardedImage image(4, 2, 2, fill32);
    EXPECT_EQ(loadImageFile(rleFile(8, 2, 2, data), image.data(), nullptr), errIoFailed);
    EXPECT_EQ(runtimeError(), errIoFailed);
    expectIndices(image.data(), {{_, _}, {3, 3}});
    EXPECT_TRUE(image.guardsIntact());
  }
}

TEST_F(BmpRleTest, RunsReachEveryDepthAndStayInsideSmallerImages) {
  openNullScreen(800, 600, 8);
  GuardedImage indices(1, 2, 1, 0);
  // A 4x3 bitmap into a 2x1 image: only the top row's first two pixels land.
  std::string file = rleFile(8, 4, 3, {4, 1, 0, 0, 4, 2, 0, 0, 0, 4, 7, 8, 9, 10, 0, 1});
  EXPECT_EQ(loadImageFile(file, indices.data(), nullptr), 0);
  EXPECT_EQ(pixelAt<uint8_t>(indices.data(), 0, 0), 7);
  EXPECT_EQ(pixelAt<uint8_t>(indices.data(), 1, 0), 8);
  EXPECT_TRUE(indices.guardsIntact());

  GuardedImage colours(2, 4, 3, 0xF81F);
  EXPECT_EQ(loadImageFile(file, colours.data(), nullptr), 0);
  uint32_t colour = paletteColour(2);  // 0x00RRGGBB
  uint16_t packed = static_cast<uint16_t>((colour >> 19 & 0x1F) << 11 | (colour >> 10 & 0x3F) << 5 |
                                          (colour >> 3 & 0x1F));
  EXPECT_EQ(pixelAt<uint16_t>(colours.data(), 3, 1), packed);
  EXPECT_TRUE(colours.guardsIntact());
}

TEST_F(BmpRleTest, TopDownAndMismatchedBitCountsAreRefused) {
  openNullScreen();
  GuardedImage image(4, 2, 2, fill32);
  BmpBuilder topDown{
      .width = 2, .height = -2, .bitCount = 8, .compression = 1, .rows = {2, 1, 0, 1}};
  EXPECT_EQ(loadImageFile(writeFile("topdown.bmp", topDown.bytes()), image.data(), nullptr),
            errIoFailed);
  BmpBuilder fourBitRle8{
      .width = 2, .height = 2, .bitCount = 4, .compression = 1, .rows = {2, 1, 0, 1}};
  EXPECT_EQ(loadImageFile(writeFile("rle8of4.bmp", fourBitRle8.bytes()), image.data(), nullptr),
            errIoFailed);
  expectIndices(image.data(), {{untouched, untouched}, {untouched, untouched}});
}

}  // namespace krgfx
