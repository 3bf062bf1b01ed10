#include <gtest/gtest.h>

#include "gfx/text/text_view.h"
#include "text_fixture.h"

namespace krgfx {

using namespace text_testing;

using ScreenClear = ScreenTest;

namespace {
// Paints every pixel and cell so that a clear shows what it touched.
void scribble(GfxScreen& screen) {
  DrawContext& context = currentContext();
  for (int32_t y = 0; y < screen.height; ++y)
    context.fillSpan(context.rowTable[y], 0xFF123456u, screen.width);
  for (int32_t i = 0; i < screen.textCols * screen.textRows; ++i)
    screen.textCells[0][i].character = '#';
  context.lastX = context.lastY = -1.0f;
  runtimeState.hooks.placeCursor(7, 9, -1);
  clearDirty(screen);
}
int32_t dirtyRows(const GfxScreen& screen) {
  int32_t count = 0;
  for (int32_t y = 0; y < screen.height; ++y) count += screen.dirtyLines[y];
  return count;
}
}  // namespace

TEST_F(ScreenClear, WholeScreenClearsPixelsCellsAndHomesTheCursor) {
  GfxScreen& screen = openNullScreen();
  scribble(screen);
  runtimeState.hooks.clearScreen(0);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 0, 800, 600), 0);
  EXPECT_EQ(cellRow(screen, 74), std::string(100, ' '));
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 1);
  EXPECT_EQ(runtimeState.hooks.cursorColumn(), 1);
  EXPECT_EQ(currentContext().lastX, 400.0f);
  EXPECT_EQ(currentContext().lastY, 300.0f);
  EXPECT_EQ(dirtyRows(screen), 600);
  EXPECT_EQ(screen.lockCount, 0);
}

TEST_F(ScreenClear, TextViewOfTheWholeGridClearsTheSamePixelsButKeepsTheLastPoint) {
  GfxScreen& screen = openNullScreen();
  scribble(screen);
  runtimeState.hooks.clearScreen(2);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 0, 800, 600), 0);
  EXPECT_EQ(cellRow(screen, 0), std::string(100, ' '));
  EXPECT_EQ(currentContext().lastX, -1.0f);
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 1);
}

TEST_F(ScreenClear, GraphicsViewClearsOnlyTheClipRectangleAndKeepsTheCursor) {
  GfxScreen& screen = openNullScreen();
  scribble(screen);
  currentContext().viewRect = {10, 20, 30, 40};
  runtimeState.hooks.clearScreen(1);
  EXPECT_EQ(pixelsOtherThan(screen, black, 10, 20, 40, 60), 0);
  EXPECT_EQ(pixelsOtherThan(screen, 0xFF123456u, 0, 0, 800, 20), 0);
  EXPECT_EQ(pixel(screen, 9, 30), 0xFF123456u);
  EXPECT_EQ(pixel(screen, 40, 30), 0xFF123456u);
  EXPECT_EQ(pixel(screen, 20, 60), 0xFF123456u);
  EXPECT_EQ(screen.textCells[0][0].character, uint32_t{'#'});
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 7);
  EXPECT_EQ(runtimeState.hooks.cursorColumn(), 9);
  EXPECT_EQ(currentContext().lastX, 25.0f);
  EXPECT_EQ(currentContext().lastY, 40.0f);
  EXPECT_EQ(dirtyRows(screen), 40);
  EXPECT_EQ(screen.dirtyLines[20], 1);
}

TEST_F(ScreenClear, DefaultChoosesTheTextViewWhenOneIsSet) {
  GfxScreen& screen = openNullScreen();
  ASSERT_EQ(setTextView(10, 20, 0), 10 + (20 << 16));
  scribble(screen);
  runtimeState.hooks.clearScreen(notGiven);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 72, 800, 160), 0);  // rows 10 to 20
  EXPECT_EQ(pixel(screen, 0, 71), 0xFF123456u);
  EXPECT_EQ(pixel(screen, 0, 160), 0xFF123456u);
  EXPECT_EQ(cellRow(screen, 9), std::string(100, ' '));
  EXPECT_EQ(cellRow(screen, 19), std::string(100, ' '));
  EXPECT_EQ(cellRow(screen, 8), std::string(100, '#'));
  EXPECT_EQ(cellRow(screen, 20), std::string(100, '#'));
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 10);
  EXPECT_EQ(dirtyRows(screen), 88);
}

TEST_F(ScreenClear, DefaultChoosesTheGraphicsViewWhenTheClipWasSet) {
  GfxScreen& screen = openNullScreen();
  scribble(screen);
  DrawContext& context = currentContext();
  context.viewRect = {0, 0, 4, 4};
  context.viewSetExplicitly = 1;
  runtimeState.hooks.clearScreen(notGiven);
  EXPECT_EQ(pixel(screen, 3, 3), black);
  EXPECT_EQ(pixel(screen, 4, 3), 0xFF123456u);
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 7);
}

TEST_F(ScreenClear, ClipRectangleReachingOffTheScreenIsClearedWhereItLies) {
  GfxScreen& screen = openNullScreen(64, 64);
  scribble(screen);
  currentContext().viewRect = {-10, 60, 1000, 1000};
  runtimeState.hooks.clearScreen(1);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 60, 64, 64), 0);
  EXPECT_EQ(pixel(screen, 0, 59), 0xFF123456u);
}

TEST_F(ScreenClear, TranslucentBackgroundBlendsOnAnAlphaScreen) {
  testing_drivers::succeedingDriver = 1;
  ASSERT_EQ(openScreen(16, 16, 32, 1, flagAlphaBlend, 0), 0);
  GfxScreen& screen = *gfxScreen;
  runtimeState.hooks.setColours(0xFFFFFFFFu, 0x80FF0000u, 0);
  runtimeState.hooks.clearScreen(0);
  uint32_t blended = pixel(screen, 5, 5);
  EXPECT_NE(blended, 0x80FF0000u);
  EXPECT_NE(blended, black);
  EXPECT_GT((blended >> 16) & 0xFF, 0x70u);
  EXPECT_LT((blended >> 16) & 0xFF, 0x90u);
}

}  // namespace krgfx
