#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "gfx/builtin_data.h"
#include "gfx/text/bell.h"
#include "gfx/text/screen_text.h"
#include "gfx/text/text_view.h"
#include "gfx/text/wide_output.h"
#include "text_fixture.h"

namespace krgfx {

using namespace text_testing;

namespace {

class ScreenOutput : public ScreenTest {
 protected:
  void TearDown() override {
    platformBell = terminalBell;
    ScreenTest::TearDown();
  }
  static int32_t cursorColumn() { return runtimeState.hooks.cursorColumn(); }
  static int32_t cursorRow() { return runtimeState.hooks.cursorRow(); }
  static void placeAt(int32_t row, int32_t col) { runtimeState.hooks.placeCursor(row, col, -1); }
};

int32_t bellCount;
void countBell(int32_t, int32_t) { ++bellCount; }

}  // namespace

TEST_F(ScreenOutput, GameScoreLineDrawsTheFontsGlyphsFromPixel8x8) {
  GfxScreen& screen = openNullScreen();
  runtimeState.hooks.clearScreen(notGiven);
  placeAt(2, 2);
  for (const char* piece : {"Zdobyles", " 42", " punktow!", "\r\n"}) print(piece);

  const std::string line = "Zdobyles 42 punktow!";
  const FontDesc& font = fontTable[0];
  int32_t foreground = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    int32_t px = 8 + 8 * static_cast<int32_t>(i);
    EXPECT_TRUE(glyphAt(screen, font, static_cast<uint8_t>(line[i]), px, 8, white, black));
    foreground += 64 - pixelsOtherThan(screen, white, px, 8, px + 8, 16);
  }
  EXPECT_GT(foreground, 100);  // the glyphs are not blank
  // Nothing outside the 20 cells was touched.
  int32_t right = 8 + 8 * static_cast<int32_t>(line.size());
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 0, 800, 8), 0);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 16, 800, 600), 0);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 8, 8, 16), 0);
  EXPECT_EQ(pixelsOtherThan(screen, black, right, 8, 800, 16), 0);

  EXPECT_EQ(cellRow(screen, 1).substr(0, 22), " " + line + " ");
  EXPECT_EQ(cursorRow(), 3);
  EXPECT_EQ(cursorColumn(), 1);
}

TEST_F(ScreenOutput, PrintMarksOnlyItsRowsDirty) {
  GfxScreen& screen = openNullScreen();
  clearDirty(screen);
  placeAt(3, 5);
  print("abc");
  for (int32_t y = 0; y < 600; ++y) EXPECT_EQ(screen.dirtyLines[y], y >= 16 && y < 24) << y;
  EXPECT_EQ(screen.lockCount, 0);
}

TEST_F(ScreenOutput, FullLastRowWaitsForTheNextPrintToScroll) {
  GfxScreen& screen = openNullScreen();
  placeAt(1, 1);
  print("M");
  placeAt(75, 1);
  print(std::string(100, 'x'));
  EXPECT_TRUE(screen.flags & screenPendingWrap);
  EXPECT_EQ(cursorColumn(), 100);
  EXPECT_EQ(cursorRow(), 75);
  EXPECT_TRUE(glyphAt(screen, fontTable[0], 'M', 0, 0, white, black));  // not scrolled

  print("y");
  EXPECT_FALSE(screen.flags & screenPendingWrap);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 0, 800, 8), 0);               // row 1 scrolled away
  EXPECT_TRUE(glyphAt(screen, fontTable[0], 'x', 792, 584, white, black));  // now row 74
  EXPECT_TRUE(glyphAt(screen, fontTable[0], 'y', 0, 592, white, black));
  EXPECT_EQ(pixelsOtherThan(screen, black, 8, 592, 800, 600), 0);
  EXPECT_EQ(cellRow(screen, 73), std::string(100, 'x'));
  EXPECT_EQ(cellRow(screen, 74), "y" + std::string(99, ' '));
  EXPECT_EQ(cursorColumn(), 2);
  EXPECT_EQ(cursorRow(), 75);
}

TEST_F(ScreenOutput, NewlineOnTheLastRowScrollsAtOnce) {
  GfxScreen& screen = openNullScreen();
  placeAt(2, 1);
  print("M");
  placeAt(75, 1);
  print("\r\n");
  EXPECT_TRUE(glyphAt(screen, fontTable[0], 'M', 0, 0, white, black));
  EXPECT_EQ(cursorRow(), 75);
  EXPECT_EQ(cursorColumn(), 1);
  EXPECT_FALSE(screen.flags & screenPendingWrap);
}

TEST_F(ScreenOutput, LongTextWrapsOntoTheNextRow) {
  GfxScreen& screen = openNullScreen();
  print(std::string(100, 'a') + "b");
  EXPECT_EQ(cellRow(screen, 0), std::string(100, 'a'));
  EXPECT_EQ(cellRow(screen, 1).substr(0, 2), "b ");
  EXPECT_EQ(cursorRow(), 2);
  EXPECT_EQ(cursorColumn(), 2);
}

TEST_F(ScreenOutput, PendingWrapIsCarriedOutByAnEmptyFlushingPrint) {
  GfxScreen& screen = openNullScreen();
  placeAt(75, 1);
  print(std::string(100, 'x'));
  print("");  // without the flush bit nothing happens
  EXPECT_TRUE(screen.flags & screenPendingWrap);
  print("", outputFlushWrap);
  EXPECT_FALSE(screen.flags & screenPendingWrap);
  EXPECT_EQ(cursorRow(), 75);
  EXPECT_EQ(cursorColumn(), 1);
  EXPECT_EQ(cellRow(screen, 73), std::string(100, 'x'));
}

TEST_F(ScreenOutput, ControlCharactersOnTheScreen) {
  GfxScreen& screen = openNullScreen();
  print("\t");
  EXPECT_EQ(cursorColumn(), 9);
  print("\t");
  EXPECT_EQ(cursorColumn(), 17);
  placeAt(4, 1);
  print("\b");
  EXPECT_EQ(cursorColumn(), 1);
  EXPECT_EQ(cursorRow(), 4);

  bellCount = 0;
  platformBell = countBell;
  clearDirty(screen);
  placeAt(5, 7);
  print("\a");
  EXPECT_EQ(bellCount, 1);
  EXPECT_EQ(cursorColumn(), 7);
  EXPECT_EQ(cursorRow(), 5);
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 0, 800, 600), 0);
  EXPECT_EQ(screen.dirtyLines[32], 0);
}

TEST_F(ScreenOutput, SingleByte255DrawsTheUnderlineMarkOnly) {
  GfxScreen& screen = openNullScreen();
  placeAt(1, 1);
  print("A");
  placeAt(1, 1);
  print("\xFF");
  const uint8_t* glyphA = fontTable[0].glyphs + 'A' * 8;
  for (int32_t r = 0; r < 7; ++r)
    for (int32_t i = 0; i < 8; ++i)
      EXPECT_EQ(pixel(screen, i, r), (glyphA[r] >> i & 1) ? white : black) << i << "," << r;
  EXPECT_EQ(pixelsOtherThan(screen, white, 0, 7, 8, 8), 0);
  EXPECT_EQ(cursorColumn(), 2);

  placeAt(2, 1);
  print("\xFF\xFF");
  EXPECT_TRUE(glyphAt(screen, fontTable[0], 255, 0, 8, white, black));
  EXPECT_TRUE(glyphAt(screen, fontTable[0], 255, 8, 8, white, black));
}

TEST_F(ScreenOutput, TextIsDrawnOpaqueOnAnAlphaBlendingScreen) {
  testing_drivers::succeedingDriver = 1;
  ASSERT_EQ(openScreen(64, 64, 32, 1, flagAlphaBlend, 0), 0);
  GfxScreen& screen = *gfxScreen;
  runtimeState.hooks.setColours(0x80FFFFFFu, 0xFF000000u, 0);
  print("\xDB");  // full block
  EXPECT_EQ(pixel(screen, 3, 3), 0x80FFFFFFu);
}

TEST_F(ScreenOutput, TallerFontsAfterSetGrid) {
  GfxScreen& screen = openNullScreen();
  for (auto [rows, fontIndex] : {std::pair{42, 1}, std::pair{37, 2}}) {
    runtimeState.hooks.setGrid(100, rows);
    const FontDesc& font = fontTable[fontIndex];
    ASSERT_EQ(screen.font, &font);
    placeAt(2, 2);
    print("Ag");
    EXPECT_TRUE(glyphAt(screen, font, 'A', 8, font.height, white, black)) << rows;
    EXPECT_TRUE(glyphAt(screen, font, 'g', 16, font.height, white, black)) << rows;
    // The bottom row of the grid scrolls by one cell height.
    placeAt(rows, 1);
    print("\n");
    EXPECT_TRUE(glyphAt(screen, font, 'A', 8, 0, white, black)) << rows;
  }
}

TEST_F(ScreenOutput, ScrollingLeavesTheRegionsCursorOnItsBottomRow) {
  GfxScreen& screen = openNullScreen();
  placeAt(1, 1);
  print("top");
  PrintRegion region{};
  region.target = &currentContext();
  region.right = screen.textCols - 1;
  region.y = 40;
  screenText::scrollRegion(region, 0, 0, screen.textCols - 1, 9, 1);
  EXPECT_EQ(region.y, 9);
  EXPECT_EQ(cellRow(screen, 0).substr(0, 3), "   ");  // row 1 scrolled away
  region.y = 3;
  screenText::scrollRegion(region, 0, 0, screen.textCols - 1, 9, 0);
  EXPECT_EQ(region.y, 9);  // also when nothing moves
}

TEST_F(ScreenOutput, CursorOutsideTheViewIsBroughtBackByScrolling) {
  GfxScreen& screen = openNullScreen();
  runtimeState.hooks.placeCursor(1000000, 500, -1);
  print("q");
  EXPECT_EQ(cursorRow(), 75);
  EXPECT_EQ(cellRow(screen, 74).substr(0, 2), "q ");
  EXPECT_EQ(pixelsOtherThan(screen, black, 0, 0, 800, 592), 0);
}

TEST_F(ScreenOutput, WideTextGoesThroughTheLocaleOrPlainFallback) {
  openNullScreen();
  const char16_t text[] = u"Ab\u00e9\U0001F600.";
  const int32_t length = sizeof text / sizeof text[0] - 1;
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(narrowForOutput(text, length), "Ab??.");
  const char16_t loneSurrogate[] = {u'x', 0xD800, u'y'};
  EXPECT_EQ(narrowForOutput(loneSurrogate, 3), "x?y");
  if (std::setlocale(LC_CTYPE, "C.UTF-8")) {
    EXPECT_EQ(narrowForOutput(text, length), "Ab\xC3\xA9\xF0\x9F\x98\x80.");
  }
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(widenCp437(0x82), u'\u00e9');
  EXPECT_EQ(widenCp437('k'), u'k');
  EXPECT_EQ(widenCp437(0x01), u'\x01');  // control bytes keep their meaning, no glyph
  EXPECT_EQ(widenCp437(0xDB), u'\u2588');
}

}  // namespace krgfx
