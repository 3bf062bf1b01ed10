#include <gtest/gtest.h>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using ImageBufferTest = ScreenTest;
using namespace image_test;

namespace {

// Every pixel of the area (padding included) holds value.
template <typename Pixel>
bool wholeAreaHolds(const void* image, Pixel value) {
  ImageLayout layout = layoutOf(image);
  for (int64_t at = 0; at < int64_t{layout.height} * layout.pitch; at += sizeof(Pixel)) {
    Pixel pixel;
    std::memcpy(&pixel, layout.pixels + at, sizeof pixel);
    if (pixel != value) return false;
  }
  return true;
}

}  // namespace

TEST_F(ImageBufferTest, LayoutAlignmentAndBlockAddress) {
  openNullScreen();
  auto* image = static_cast<uint8_t*>(createImage(10, 3, 0, 0, colourNotGiven));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(runtimeError(), 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(image) % 16, 0u);
  ImageHeader header;
  std::memcpy(&header, image, sizeof header);
  EXPECT_EQ(header.type, 7u);
  EXPECT_EQ(header.bpp, 4);
  EXPECT_EQ(header.width, 10);
  EXPECT_EQ(header.height, 3);
  EXPECT_EQ(header.pitch, 48);
  for (int i = 24; i < 32; ++i) EXPECT_EQ(image[i], 0) << i;
  // The block starts at most 18 bytes before the header and holds all rows.
  uint8_t* block;
  std::memcpy(&block, image - sizeof block, sizeof block);
  EXPECT_LE(image - block, 18);
  EXPECT_GE(image - block, static_cast<ptrdiff_t>(sizeof block));
  EXPECT_TRUE(wholeAreaHolds<uint32_t>(image, 0xFFFF00FF));
  destroyImage(image);
}

TEST_F(ImageBufferTest, FillColourByDepthAndFlags) {
  openNullScreen();
  void* given = createImage(5, 4, 0, 0, 0);
  EXPECT_TRUE(wholeAreaHolds<uint32_t>(given, 0));
  void* red = createImage(5, 4, 0x12FF0000, 32, 0x7FFFFFFF);  // only bit 31 counts
  EXPECT_TRUE(wholeAreaHolds<uint32_t>(red, 0x12FF0000));
  void* bytes = createImage(3, 2, 0x1234, 8, 0);
  EXPECT_EQ(layoutOf(bytes).bytesPerPixel, 1);
  EXPECT_TRUE(wholeAreaHolds<uint8_t>(bytes, 0x34));
  void* transparent8 = createImage(3, 2, 0x55, 8, colourNotGiven);
  EXPECT_TRUE(wholeAreaHolds<uint8_t>(transparent8, 0));
  for (void* image : {given, red, bytes, transparent8}) destroyImage(image);
}

TEST_F(ImageBufferTest, SixteenBitColoursArePacked) {
  openNullScreen(64, 64, 16);
  void* orange = createImage(1, 1, 0xFF8040, 0, 0);
  EXPECT_EQ(pixelAt<uint16_t>(orange, 0, 0), 0xFC08);
  void* magenta = createImage(1, 1, 0xFF00FF, 0, 0);
  EXPECT_EQ(pixelAt<uint16_t>(magenta, 0, 0), 0xF81F);
  void* transparent = createImage(9, 2, 0xFFFFFF, 0, colourNotGiven);
  EXPECT_TRUE(wholeAreaHolds<uint16_t>(transparent, 0xF81F));
  for (void* image : {orange, magenta, transparent}) destroyImage(image);
}

TEST_F(ImageBufferTest, PitchRoundsRowsUpToSixteenBytes) {
  openNullScreen();
  struct Case {
    int32_t width, depth, pitch;
  } cases[] = {{1, 32, 16}, {3, 8, 16}, {800, 32, 3200}, {10, 16, 32}, {17, 8, 32}};
  for (const Case& c : cases) {
    void* image = createImage(c.width, 2, 0, c.depth, 0);
    EXPECT_EQ(layoutOf(image).pitch, c.pitch) << c.width << "x" << c.depth;
    destroyImage(image);
  }
}

TEST_F(ImageBufferTest, DepthsWithoutPixelRoutinesAreRefused) {
  openNullScreen();
  for (int32_t depth : {24, 17, 33, 64, INT32_MAX}) {
    EXPECT_EQ(createImage(4, 4, 0, depth, 0), nullptr) << depth;
    EXPECT_EQ(runtimeError(), errBadCall);
  }
  struct Case {
    int32_t depth, bpp;
  } accepted[] = {{1, 1}, {8, 1}, {9, 2}, {16, 2}, {25, 4}, {32, 4}, {-3, 4}};
  for (const Case& c : accepted) {
    void* image = createImage(4, 4, 0, c.depth, 0);
    ASSERT_NE(image, nullptr) << c.depth;
    EXPECT_EQ(layoutOf(image).bytesPerPixel, c.bpp) << c.depth;
    destroyImage(image);
  }
}

TEST_F(ImageBufferTest, BadSizesAndNoScreen) {
  EXPECT_EQ(createImage(4, 4, 0, 32, 0), nullptr);
  EXPECT_EQ(runtimeError(), errBadCall);
  openNullScreen();
  for (auto [width, height] : {std::pair{0, 4}, {4, 0}, {-1, 4}, {4, INT32_MIN}}) {
    EXPECT_EQ(createImage(width, height, 0, 32, 0), nullptr);
    EXPECT_EQ(runtimeError(), errBadCall);
  }
  destroyImage(nullptr);
}

TEST_F(ImageBufferTest, SizesBeyondMemoryAreAllocationFailures) {
  openNullScreen();
  for (auto [width, height] : {std::pair{INT32_MAX, 1}, {100000, 100000}, {1, INT32_MAX}}) {
    EXPECT_EQ(createImage(width, height, 0, 32, 0), nullptr) << width << "x" << height;
    EXPECT_EQ(runtimeError(), errNoMemory);
  }
}

TEST_F(ImageBufferTest, NewImageBecomesTheTargetAndDestroyReleasesIt) {
  openNullScreen();
  DrawContext& context = currentContext();
  void* image = createImage(7, 5, 0, 16, 0);
  EXPECT_EQ(context.target, image);
  EXPECT_EQ(context.bytesPerPixel, 2);
  EXPECT_EQ(context.viewRect.width, 7);
  destroyImage(image);
  EXPECT_EQ(context.target, nullptr);
  EXPECT_EQ(context.pitch, 3200);
  EXPECT_EQ(context.viewRect.width, 800);
}

}  // namespace krgfx
