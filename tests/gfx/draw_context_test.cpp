#include "gfx/draw_context.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/depth_routines.h"
#include "support/screen_fixture.h"

namespace krgfx {

using DrawContextTest = ScreenTest;

namespace {
// An image laid out as the image buffers are: a 32-byte header, then rows.
std::vector<uint8_t> makeImage(int32_t bpp, int32_t width, int32_t height) {
  int32_t pitch = (width * bpp + 15) & ~15;
  std::vector<uint8_t> image(32 + static_cast<size_t>(pitch) * height);
  int32_t header[5] = {7, bpp, width, height, pitch};
  std::memcpy(image.data(), header, sizeof header);
  return image;
}
}  // namespace

TEST_F(DrawContextTest, ImageTargetAndBackRestoresTheScreenView) {
  GfxScreen& screen = openNullScreen();
  DrawContext& context = currentContext();
  context.viewRect = {10, 20, 100, 50};
  auto image = makeImage(2, 10, 700);
  bindTarget(context, image.data());
  EXPECT_EQ(context.viewRect.x, 0);
  EXPECT_EQ(context.viewRect.width, 10);
  EXPECT_EQ(context.viewRect.height, 700);
  EXPECT_EQ(context.bytesPerPixel, 2);
  EXPECT_EQ(context.pitch, 32);
  EXPECT_GE(context.rowCapacity, 700);
  EXPECT_EQ(context.rowTable[699], image.data() + 32 + 699 * 32);
  EXPECT_EQ(depthRoutines.fillSpan == spans::fill16Plain ||
                depthRoutines.fillSpan == spans::fill16Sse2 ||
                depthRoutines.fillSpan == spans::fill16Avx2,
            true);
  bindTarget(context, nullptr);
  EXPECT_EQ(context.target, nullptr);
  EXPECT_EQ(context.viewRect.x, 10);
  EXPECT_EQ(context.viewRect.height, 50);
  EXPECT_EQ(context.pitch, 3200);
  EXPECT_EQ(context.rowTable[599], screen.pages[0] + 599 * 3200);
}

TEST_F(DrawContextTest, RowAddressesPastTwoGibibytesDoNotWrap) {
  openNullScreen(64, 64, 32);
  DrawContext& context = currentContext();
  // Only the header is read: three rows of 1.25 GiB each.
  constexpr int32_t pitch = 0x50000000;
  std::vector<uint8_t> header(32);
  int32_t fields[5] = {7, 4, pitch / 4, 3, pitch};
  std::memcpy(header.data(), fields, sizeof fields);
  bindTarget(context, header.data());
  EXPECT_EQ(context.rowTable[2] - context.rowTable[0], 2 * static_cast<ptrdiff_t>(pitch));
  bindTarget(context, nullptr);
}

TEST_F(DrawContextTest, ShortHeaderTakesTheScreenDepth) {
  openNullScreen(64, 64, 16);
  DrawContext& context = currentContext();
  std::vector<uint8_t> image(4 + 5 * 3 * 2);
  uint16_t words[2] = {5 << 3 | 4, 3};  // depth bits say 4, the screen's 2 win
  std::memcpy(image.data(), words, sizeof words);
  bindTarget(context, image.data());
  EXPECT_EQ(context.viewRect.width, 5);
  EXPECT_EQ(context.viewRect.height, 3);
  EXPECT_EQ(context.bytesPerPixel, 2);
  EXPECT_EQ(context.rowTable[2], image.data() + 4 + 2 * 10);
}

TEST_F(DrawContextTest, CoordinatesRoundHalvesAwayFromZero) {
  openNullScreen();
  DrawContext& context = currentContext();
  int32_t x, y;
  toTargetPixels(context, 2.5f, -2.5f, &x, &y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, -3);
  toTargetPixels(context, 2.4f, -2.4f, &x, &y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, -2);
  context.viewRect = {10, 20, 5, 5};
  toTargetPixels(context, 1.0f, 1.0f, &x, &y);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 21);
  toTargetPixels(context, 1e30f, -1e30f, &x, &y);
  EXPECT_EQ(x, INT32_MAX);
  EXPECT_EQ(y, INT32_MIN + 20);  // clamped, then the view origin added
}

TEST_F(DrawContextTest, RelativeCoordinatesAndLastPoint) {
  openNullScreen();
  DrawContext& context = currentContext();
  context.lastX = 100, context.lastY = 200;
  float x1 = 1, y1 = 2, x2 = 3, y2 = 4;
  applyRelative(context, 3, &x1, &y1, &x2, &y2);
  EXPECT_FLOAT_EQ(x1, 101);
  EXPECT_FLOAT_EQ(x2, 104);
  EXPECT_FLOAT_EQ(context.lastX, 104);
  EXPECT_FLOAT_EQ(context.lastY, 206);
  float x = 10, y = 0;
  applyRelative(context, 5, &x, &y, nullptr, nullptr);
  EXPECT_FLOAT_EQ(x, 114);
  EXPECT_FLOAT_EQ(context.lastX, 114);
  applyRelative(context, 4, &x, &y, nullptr, nullptr);
  EXPECT_FLOAT_EQ(x, 114);
  x1 = 1, y1 = 1, x2 = 2, y2 = 2;
  applyRelative(context, 1, &x1, &y1, &x2, &y2);
  EXPECT_FLOAT_EQ(x2, 3);
}

TEST_F(DrawContextTest, CornersAreOrdered) {
  int32_t x1 = 5, y1 = 2, x2 = 2, y2 = 5;
  orderCorners(&x1, &y1, &x2, &y2);
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(x2, 5);
  EXPECT_EQ(y1, 2);
  EXPECT_EQ(y2, 5);
}

TEST_F(DrawContextTest, TranslucentColoursBlendOnlyWhenAsked) {
  setTestEnvironment("KRGFX", "null");
  EXPECT_EQ(openScreen(8, 8, 32, 1, flagAlphaBlend, 0), 0);
  DrawContext& context = currentContext();
  chooseWriteMode(context, 0x80FFFFFF);
  EXPECT_EQ(context.putPixel, depthRoutines.blendPutPixel);
  chooseWriteMode(context, 0xFF000000);
  EXPECT_EQ(context.putPixel, depthRoutines.putPixel);
  context.putPixel(context, 1, 1, 0xFF102030);
  chooseWriteMode(context, 0x80FFFFFF);
  context.putPixel(context, 1, 1, 0x80FFFFFF);
  EXPECT_EQ(context.getPixel(context, 1, 1), vectorLevel() == VectorLevel::plain
                                                 ? blendPlain(0x80FFFFFF, 0xFF102030)
                                                 : blendLanes(0x80FFFFFF, 0xFF102030));
}

}  // namespace krgfx
