// putImage, drawImageScaled and captureImage at 8, 16 and 32 bits: every
// mode, and clipping at each edge of the target, the clip rectangle and the
// screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/depth_routines.h"
#include "gfx/draw_context.h"
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

constexpr uint32_t background = 0x5A;  // every byte of a target before drawing

// A distinct pixel for (x, y) at each depth, never the transparent colour.
uint32_t pictureAt(int32_t bpp, int32_t x, int32_t y) {
  if (bpp == 1) return 1 + static_cast<uint32_t>(x * 7 + y * 3) % 250;
  if (bpp == 2) return static_cast<uint32_t>(x * 131 + y * 17 + 1) & 0x7FFF;
  return 0x80000000u | static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 | 0x11;
}

uint32_t readPixel(const uint8_t* row, int32_t x, int32_t bpp) {
  uint32_t value = 0;
  std::memcpy(&value, row + x * bpp, bpp);
  return value;
}

void writePixel(uint8_t* row, int32_t x, int32_t bpp, uint32_t value) {
  std::memcpy(row + x * bpp, &value, bpp);
}

void* pictureImage(int32_t bpp, int32_t width, int32_t height) {
  void* image = createImage(width, height, 0, bpp * 8, 0);
  ImageLayout layout = layoutOf(image);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      writePixel(layout.pixels + y * layout.pitch, x, bpp, pictureAt(bpp, x, y));
  return image;
}

uint32_t backgroundPixel(int32_t bpp) {
  uint32_t value = 0;
  std::memset(&value, background, bpp);
  return value;
}

// The target pixel (x, y) after drawing a w x h picture scaled to
// scaledW x scaledH at (left, top): the nearest source pixel inside, the
// background outside.
struct Placement {
  int32_t left, top, scaledW, scaledH, w, h;
  uint32_t expected(int32_t bpp, int32_t x, int32_t y) const {
    if (x < left || y < top || x >= left + scaledW || y >= top + scaledH)
      return backgroundPixel(bpp);
    return pictureAt(bpp, (x - left) * w / scaledW, (y - top) * h / scaledH);
  }
};

void expectTarget(uint8_t* image, int32_t bpp, int32_t width, int32_t height,
                  const Placement& placement) {
  ImageLayout layout = layoutOf(image);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      ASSERT_EQ(readPixel(layout.pixels + y * layout.pitch, x, bpp), placement.expected(bpp, x, y))
          << bpp << " bytes, " << x << "," << y;
}

class ImagePutTest : public ScreenTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  int32_t bpp() const { return GetParam(); }
  void SetUp() override {
    ScreenTest::SetUp();
    openNullScreen(48, 32, bpp() * 8);
  }
};

}  // namespace

TEST_P(ImagePutTest, ScaledDrawingIsClippedAtEveryEdge) {
  const int32_t tw = 20, th = 12;
  void* picture = pictureImage(bpp(), 5, 3);
  // Inside, over each edge, over all four, and shrunk below the picture.
  const Placement placements[] = {
      {4, 2, 10, 6, 5, 3}, {-7, 3, 11, 7, 5, 3},   {3, -4, 9, 8, 5, 3}, {14, 2, 13, 5, 5, 3},
      {2, 9, 7, 9, 5, 3},  {-3, -2, 27, 17, 5, 3}, {6, 5, 3, 2, 5, 3}};
  for (const Placement& p : placements) {
    GuardedImage target(bpp(), tw, th, backgroundPixel(bpp()));
    EXPECT_EQ(drawImageScaled(target.data(), static_cast<float>(p.left), static_cast<float>(p.top),
                              p.scaledW, p.scaledH, picture, putPlain),
              0);
    expectTarget(target.data(), bpp(), tw, th, p);
    EXPECT_TRUE(target.guardsIntact()) << p.left << "," << p.top;
  }
  GuardedImage target(bpp(), tw, th, backgroundPixel(bpp()));
  EXPECT_EQ(drawImageScaled(target.data(), 30, 3, 5, 5, picture, putPlain), 0) << "wholly outside";
  EXPECT_EQ(drawImageScaled(target.data(), 0, 0, 0, 5, picture, putPlain), errBadCall);
  EXPECT_EQ(drawImageScaled(target.data(), 0, 0, 5, -1, picture, putPlain), errBadCall);
  EXPECT_EQ(drawImageScaled(target.data(), 0, 0, 5, 5, nullptr, putPlain), errBadCall);
  EXPECT_EQ(drawImageScaled(target.data(), 0, 0, 5, 5, picture, 3), errBadCall);
  expectTarget(target.data(), bpp(), tw, th, {0, 0, 0, 0, 5, 3});
  EXPECT_TRUE(target.guardsIntact());
  destroyImage(picture);
}

TEST_P(ImagePutTest, ScaledOntoTheScreenKeepsToTheClipRectangleAndMarksItsRows) {
  void* picture = pictureImage(bpp(), 4, 4);
  std::memset(gfxScreen->pages[0], background, static_cast<size_t>(gfxScreen->pitch) * 32);
  DrawContext& context = currentContext();
  bindTarget(context, nullptr);
  context.viewRect = {10, 6, 20, 10};  // the clip rectangle, also the origin
  clearDirtyRows();
  EXPECT_EQ(drawImageScaled(nullptr, -2, 8, 30, 12, picture, putPlain), 0);
  // Drawn at screen (8, 14), 30 x 12, kept to columns 10-29 and rows 14-15.
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 48; ++x) {
      bool inside = x >= 10 && x < 30 && y >= 14 && y < 16;
      uint32_t expected = inside ? pictureAt(bpp(), (x - 8) * 4 / 30, (y - 14) * 4 / 12)
                                 : backgroundPixel(bpp());
      ASSERT_EQ(readPixel(gfxScreen->pages[0] + y * gfxScreen->pitch, x, bpp()), expected)
          << x << "," << y;
    }
  EXPECT_EQ(dirtyRowCount(), 2);
  EXPECT_EQ(gfxScreen->dirtyLines[14], 1);
  destroyImage(picture);
}

TEST_P(ImagePutTest, PutModesCopySkipAndBlend) {
  void* picture = pictureImage(bpp(), 3, 2);
  ImageLayout source = layoutOf(picture);
  uint32_t transparent = bpp() == 1 ? 0 : bpp() == 2 ? 0xF81F : 0x12FF00FF;
  writePixel(source.pixels, 1, bpp(), transparent);
  for (int32_t mode : {putPlain, putTransparent, putAlpha}) {
    GuardedImage target(bpp(), 6, 4, backgroundPixel(bpp()));
    EXPECT_EQ(putImage(target.data(), 2, 1, picture, mode), 0);
    ImageLayout out = layoutOf(target.data());
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 3; ++x) {
        uint32_t s = readPixel(source.pixels + y * source.pitch, x, bpp());
        uint32_t expected = s;
        bool skipped = x == 1 && y == 0;
        if (mode == putTransparent && skipped) expected = backgroundPixel(bpp());
        if (mode == putTransparent && bpp() == 4 && !skipped) expected = s & 0x00FFFFFF;
        if (mode == putAlpha && bpp() == 4) expected = blendPlain(s, backgroundPixel(4));
        ASSERT_EQ(readPixel(out.pixels + (y + 1) * out.pitch, x + 2, bpp()), expected)
            << "mode " << mode << " at " << x << "," << y;
      }
    EXPECT_EQ(readPixel(out.pixels + out.pitch, 1, bpp()), backgroundPixel(bpp()));
    EXPECT_TRUE(target.guardsIntact());
  }
  EXPECT_EQ(putImage(nullptr, 0, 0, picture, 7), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  destroyImage(picture);
}

TEST_P(ImagePutTest, PutIsClippedAtEveryEdge) {
  void* picture = pictureImage(bpp(), 5, 4);
  const int32_t corners[][2] = {{-3, 1}, {2, -2}, {4, 1}, {1, 3}, {-9, 0}};
  for (const auto& at : corners) {
    GuardedImage target(bpp(), 6, 5, backgroundPixel(bpp()));
    EXPECT_EQ(putImage(target.data(), static_cast<float>(at[0]), static_cast<float>(at[1]), picture,
                       putPlain),
              0);
    expectTarget(target.data(), bpp(), 6, 5, {at[0], at[1], 5, 4, 5, 4});
    EXPECT_TRUE(target.guardsIntact());
  }
  destroyImage(picture);
}

TEST_P(ImagePutTest, CaptureTakesTheRectangleInsideTheClipAndPutRestoresIt) {
  void* source = pictureImage(bpp(), 9, 7);
  // Corners in either order; a rectangle over an edge keeps what lies inside.
  const struct {
    int32_t x1, y1, x2, y2, left, top, width, height;
  } cases[] = {{2, 1, 5, 3, 2, 1, 4, 3},
               {5, 3, 2, 1, 2, 1, 4, 3},
               {-4, -2, 1, 0, 0, 0, 2, 1},
               {7, 5, 20, 30, 7, 5, 2, 2}};
  for (const auto& c : cases) {
    void* captured = captureImage(source, c.x1, c.y1, c.x2, c.y2);
    ASSERT_NE(captured, nullptr);
    ImageLayout layout = layoutOf(captured);
    EXPECT_EQ(layout.bytesPerPixel, bpp());
    EXPECT_EQ(layout.width, c.width);
    EXPECT_EQ(layout.height, c.height);
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x)
        ASSERT_EQ(readPixel(layout.pixels + y * layout.pitch, x, bpp()),
                  pictureAt(bpp(), c.left + x, c.top + y));
    destroyImage(captured);
  }
  EXPECT_EQ(captureImage(source, 9, 0, 12, 3), nullptr);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(captureImage(source, -5, -5, -1, 2), nullptr);

  // From the screen, in the clip rectangle's coordinates.
  EXPECT_EQ(putImage(nullptr, 20, 10, source, putPlain), 0);
  DrawContext& context = currentContext();
  bindTarget(context, nullptr);
  context.viewRect = {20, 10, 6, 5};
  void* fromScreen = captureImage(nullptr, 1, 1, 8, 8);
  ASSERT_NE(fromScreen, nullptr);
  EXPECT_EQ(layoutOf(fromScreen).width, 5);
  EXPECT_EQ(layoutOf(fromScreen).height, 4);
  EXPECT_EQ(readPixel(layoutOf(fromScreen).pixels, 0, bpp()), pictureAt(bpp(), 1, 1));
  std::memset(gfxScreen->pages[0], background, static_cast<size_t>(gfxScreen->pitch) * 32);
  EXPECT_EQ(putImage(nullptr, 1, 1, fromScreen, putPlain), 0);
  EXPECT_EQ(readPixel(gfxScreen->pages[0] + 14 * gfxScreen->pitch, 25, bpp()),
            pictureAt(bpp(), 5, 4));
  destroyImage(fromScreen);
  destroyImage(source);
}

INSTANTIATE_TEST_SUITE_P(Depths, ImagePutTest, ::testing::Values(1, 2, 4),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return std::to_string(info.param * 8) + "Bit";
                         });

TEST(ImagePutWithoutScreen, EveryOperationRefuses) {
  uint8_t shortImage[8] = {1 << 3 | 4, 0, 1, 0};
  EXPECT_EQ(putImage(nullptr, 0, 0, shortImage, putPlain), errBadCall);
  EXPECT_EQ(drawImageScaled(nullptr, 0, 0, 2, 2, shortImage, putPlain), errBadCall);
  EXPECT_EQ(captureImage(shortImage, 0, 0, 0, 0), nullptr);
  EXPECT_EQ(runtimeError(), errBadCall);
}

class AlphaMaskPutTest : public ScreenTest {};

TEST_F(AlphaMaskPutTest, AnEightBitMaskSetsTheAlphaOfAThirtyTwoBitTarget) {
  openNullScreen(48, 32, 32);
  void* mask = createImage(2, 1, 0x40, 8, 0);
  GuardedImage target(4, 3, 1, 0x00123456);
  EXPECT_EQ(putImage(target.data(), 1, 0, mask, putAlpha), 0);
  EXPECT_EQ(pixelAt(target.data(), 0, 0), 0x00123456u);
  EXPECT_EQ(pixelAt(target.data(), 1, 0), 0x40123456u);
  EXPECT_EQ(pixelAt(target.data(), 2, 0), 0x40123456u);
  EXPECT_EQ(drawImageScaled(target.data(), 0, 0, 3, 1, mask, putAlpha), 0);
  EXPECT_EQ(pixelAt(target.data(), 0, 0), 0x40123456u);
  EXPECT_EQ(putImage(target.data(), 0, 0, mask, putPlain), errBadCall) << "depths differ";
  destroyImage(mask);
}

}  // namespace krgfx
