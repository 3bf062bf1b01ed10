#include <gtest/gtest.h>

#include <random>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "draw_test_support.h"
#include "gfx/depth_routines.h"
#include "gfx/draw_context.h"

namespace krgfx {

using namespace draw_test;

namespace {

constexpr uint32_t red32 = 0xFFFF0000;

class DrawLineTest : public ScreenTest {};

}  // namespace

TEST_F(DrawLineTest, HandCheckedLinesBoxesAndDashes) {
  openNullScreen(10, 6, 32);
  EXPECT_EQ(drawLine(nullptr, 1, 1, 8, 4, red32), 0);
  EXPECT_PICTURE(screenPicture(red32), (Picture{
                                           "..........",
                                           ".##.......",
                                           "...##.....",
                                           ".....##...",
                                           ".......##.",
                                           "..........",
                                       }));
  clearScreen(0);
  EXPECT_EQ(drawLine(nullptr, 8, 0, 1, 5, red32, shapeBox), 0);
  EXPECT_EQ(drawLine(nullptr, 3, 2, 5, 3, red32, shapeFilledBox), 0);
  EXPECT_PICTURE(screenPicture(red32), (Picture{
                                           ".########.",
                                           ".#......#.",
                                           ".#.###..#.",
                                           ".#.###..#.",
                                           ".#......#.",
                                           ".########.",
                                       }));
  // 0xCCCC: two on, two off; the pattern runs on from one edge to the next.
  clearScreen(0);
  EXPECT_EQ(drawLine(nullptr, 0, 0, 9, 0, red32, shapeLine, 0xCCCC), 0);
  EXPECT_EQ(drawLine(nullptr, 0, 2, 3, 4, red32, shapeBox, 0xF0F0), 0);
  EXPECT_PICTURE(screenPicture(red32), (Picture{
                                           "##..##..##",
                                           "..........",
                                           "####......",
                                           "#..#......",
                                           "..........",  // the bottom edge has bits 4-7: off
                                           "..........",
                                       }));
}

TEST_F(DrawLineTest, ClippedLinesMatchTheUnclippedRuleAtEveryEdge) {
  openNullScreen(24, 16, 32);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-40, 60);
  for (int trial = 0; trial < 300; ++trial) {
    int x1 = coordinate(random), y1 = coordinate(random);
    int x2 = coordinate(random), y2 = coordinate(random);
    clearScreen(0);
    ASSERT_EQ(drawLine(nullptr, x1, y1, x2, y2, red32), 0);
    Picture expected = blankPicture(24, 16);
    referenceLine(expected, x1, y1, x2, y2);
    ASSERT_EQ(shown(screenPicture(red32)), shown(expected))
        << x1 << "," << y1 << " - " << x2 << "," << y2;
  }
}

TEST_F(DrawLineTest, ClipRectangleOfTheScreenAndOfImages) {
  openNullScreen(12, 8, 8);
  DrawContext& context = currentContext();
  context.viewRect = {2, 1, 6, 5};  // the view: pixels 2-7, rows 1-5, origin at (2, 1)
  context.viewSetExplicitly = 1;
  EXPECT_EQ(drawLine(nullptr, -5, 2, 20, 2, 9), 0);
  EXPECT_EQ(drawLine(nullptr, 0, 0, 0, 0, 9, shapeFilledBox), 0);
  EXPECT_PICTURE(screenPicture(9), (Picture{
                                       "............",
                                       "..#.........",
                                       "............",
                                       "..######....",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                   }));
  // An image is clipped to itself, and its pixels take its own depth.
  void* image = createImage(3, 2, 0, 32, 0);
  EXPECT_EQ(drawLine(image, -1, -1, 5, 5, 0x80C0FFEE, shapeFilledBox), 0);
  int32_t width, height, pitch, bpp;
  uint8_t* pixels = imagePixels(image, &width, &height, &pitch, &bpp);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(bpp, 4);
  uint32_t corner;
  std::memcpy(&corner, pixels + pitch + 8, 4);
  EXPECT_EQ(corner, 0x80C0FFEEu);
  destroyImage(image);
}

TEST_F(DrawLineTest, EveryDepthStoresTheColourInItsForm) {
  for (int32_t depth : {8, 16, 32}) {
    openNullScreen(4, 2, depth);
    EXPECT_EQ(drawPixel(nullptr, 1, 1, 0xFF8040), 0);
    uint32_t expected = depth == 8 ? 0x40 : depth == 16 ? 0xFC08 : 0xFF8040;
    EXPECT_EQ(pagePixel(1, 1), expected) << depth;
    int64_t read = readPixel(nullptr, 1, 1);
    EXPECT_EQ(read, depth == 16 ? 0xFFFF8242 : expected) << depth;  // 5-6-5 widened
    // Reading back and drawing again keeps the pixel.
    EXPECT_EQ(drawPixel(nullptr, 2, 1, static_cast<uint32_t>(read)), 0);
    EXPECT_EQ(pagePixel(2, 1), expected);
    // The foreground colour when none is given.
    EXPECT_EQ(drawPixel(nullptr, 0, 0, 0, 0, colourNotGiven), 0);
    EXPECT_EQ(pagePixel(0, 0), depth == 8 ? 15u : gfxScreen->colorMask);
    EXPECT_EQ(readPixel(nullptr, 4, 0), -1);
    EXPECT_EQ(readPixel(nullptr, -1, 0), -1);
    closeScreen();
  }
}

TEST_F(DrawLineTest, RelativeCoordinatesFollowTheLastPoint) {
  openNullScreen(10, 4, 32);
  drawPixel(nullptr, 1, 1, red32);
  drawLine(nullptr, 0, 0, 3, 0, red32, shapeLine, lineSolid, 2);   // from (1, 1) to (3, 0)
  drawLine(nullptr, 0, 0, 2, 2, red32, shapeLine, lineSolid, 3);   // (3, 0) to (5, 2)
  drawLine(nullptr, 8, 3, -1, 0, red32, shapeLine, lineSolid, 1);  // (8, 3) to (7, 3)
  drawPixel(nullptr, 1, -1, red32, 2);                             // (8, 2)
  EXPECT_PICTURE(screenPicture(red32), (Picture{
                                           "..##......",
                                           ".#..#.....",
                                           ".....#..#.",
                                           ".......##.",
                                       }));
  EXPECT_EQ(drawPixel(nullptr, 0, 0, red32, 4), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(drawLine(nullptr, 0, 0, 1, 1, red32, /*shape*/ 3), errBadCall);
}

TEST_F(DrawLineTest, HugeCoordinatesCutWithoutOverflow) {
  openNullScreen(16, 16, 32);
  EXPECT_EQ(drawLine(nullptr, -2e9f, 8, 2e9f, 8, red32), 0);
  EXPECT_EQ(drawLine(nullptr, 3, -3e9f, 3, 3e9f, red32), 0);
  Picture expected = blankPicture(16, 16);
  for (int i = 0; i < 16; ++i) mark(expected, i, 8), mark(expected, 3, i);
  EXPECT_PICTURE(screenPicture(red32), expected);
  clearScreen(0);
  // Diagonal through the whole screen from far away: still the diagonal.
  EXPECT_EQ(drawLine(nullptr, -1e9f, -1e9f, 1e9f, 1e9f, red32), 0);
  expected = blankPicture(16, 16);
  for (int i = 0; i < 16; ++i) mark(expected, i, i);
  EXPECT_PICTURE(screenPicture(red32), expected);
  EXPECT_EQ(drawLine(nullptr, 1e30f, 0, 2e30f, 0, red32), 0);
}

TEST_F(DrawLineTest, BlendsOnAnAlphaScreenAndMarksRowsDrawn) {
  openNullScreen(8, 8, 32);
  gfxScreen->flags |= screenAlphaBlend;
  std::memset(gfxScreen->dirtyLines, 0, 8);
  EXPECT_EQ(drawLine(nullptr, 1, 2, 6, 4, 0x80FFFFFF, shapeFilledBox), 0);
  EXPECT_EQ(pagePixel(1, 2), screenBlend(0x80FFFFFF, 0xFF000000));
  EXPECT_EQ(pagePixel(0, 2), 0xFF000000u);
  for (int row = 0; row < 8; ++row) EXPECT_EQ(gfxScreen->dirtyLines[row], row >= 2 && row <= 4);
  // Each pixel of a box outline is blended once, corners included.
  clearScreen(0);
  EXPECT_EQ(drawLine(nullptr, 0, 0, 3, 3, 0x80FFFFFF, shapeBox), 0);
  EXPECT_EQ(pagePixel(0, 0), screenBlend(0x80FFFFFF, 0xFF000000));
  EXPECT_EQ(pagePixel(3, 3), screenBlend(0x80FFFFFF, 0xFF000000));
  EXPECT_EQ(pagePixel(3, 1), screenBlend(0x80FFFFFF, 0xFF000000));
}

TEST_F(DrawLineTest, NothingWithoutAScreen) {
  EXPECT_EQ(drawLine(nullptr, 0, 0, 1, 1, red32), errBadCall);
  EXPECT_EQ(drawPixel(nullptr, 0, 0, red32), errBadCall);
  EXPECT_EQ(readPixel(nullptr, 0, 0), -1);
  EXPECT_EQ(runtimeError(), errBadCall);
  openNullScreen(4, 4, 32);
  EXPECT_EQ(drawLine(nullptr, 0, 0, 1, 1, red32, 7), errBadCall);
}

}  // namespace krgfx
