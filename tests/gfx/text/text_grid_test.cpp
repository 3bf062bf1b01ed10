#include <gtest/gtest.h>

#include "gfx/builtin_data.h"
#include "gfx/text/text_view.h"
#include "text_fixture.h"

namespace krgfx {

using namespace text_testing;

using TextGrid = ScreenTest;

namespace {
constexpr int32_t gameGrid = 100 | 75 << 16;
}

TEST_F(TextGrid, OnlyCellsOf8By8_14Or16AreAccepted) {
  GfxScreen& screen = openNullScreen();
  placeCursor(5, 5, -1, 0, 0);
  EXPECT_EQ(runtimeState.hooks.setGrid(80, 50), gameGrid);   // 10 x 12
  EXPECT_EQ(runtimeState.hooks.setGrid(100, 43), gameGrid);  // 8 x 13
  EXPECT_EQ(runtimeState.hooks.setGrid(0, 0), gameGrid);
  EXPECT_EQ(runtimeState.hooks.setGrid(-3, -1), gameGrid);
  EXPECT_EQ(screen.font, &fontTable[0]);
  EXPECT_EQ(screen.textRows, 75);
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 5);  // nothing changed

  EXPECT_EQ(runtimeState.hooks.setGrid(100, 42), gameGrid);
  EXPECT_EQ(screen.font, &fontTable[1]);
  EXPECT_EQ(screen.textRows, 42);
  EXPECT_EQ(runtimeState.hooks.setGrid(0, 37), 100 | 42 << 16);  // columns kept
  EXPECT_EQ(screen.font, &fontTable[2]);
  EXPECT_EQ(screen.textCols, 100);
  EXPECT_EQ(screen.textRows, 37);
}

TEST_F(TextGrid, NewGridResetsCellsViewClipAndCursor) {
  GfxScreen& screen = openNullScreen(800, 600, 32, 2);
  placeCursor(5, 5, -1, 0, 0);
  setTextView(3, 9, 0);
  DrawContext& context = currentContext();
  context.viewRect = {1, 2, 3, 4};
  context.viewSetExplicitly = 1;
  ASSERT_EQ(runtimeState.hooks.setGrid(100, 37), gameGrid);
  EXPECT_EQ(viewTop, 0);
  EXPECT_EQ(viewBottom, 36);
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 1);
  EXPECT_EQ(runtimeState.hooks.cursorColumn(), 1);
  EXPECT_EQ(context.viewRect.width, 800);
  EXPECT_EQ(context.viewRect.height, 600);
  EXPECT_EQ(context.viewSetExplicitly, 0);
  EXPECT_EQ(runtimeState.fileTable[0].printWidth, 100);
  for (int32_t page = 0; page < 2; ++page) {
    EXPECT_EQ(cellRow(screen, 36, page), std::string(100, ' '));
    EXPECT_EQ(screen.textCells[page][36 * 100 + 99].foreColor, white);
  }
  // The bottom row of the new grid can be printed on.
  placeCursor(37, 100, -1, 0, 0);
  print("z");
  EXPECT_EQ(cellRow(screen, 36).back(), 'z');
  EXPECT_EQ(runtimeState.hooks.readCell(100, 37, 0), 'z');
}

TEST_F(TextGrid, ColoursAreConvertedToTheScreensFormat) {
  openNullScreen();
  EXPECT_EQ(runtimeState.hooks.setColours(0xFF112233u, 0xFF445566u, 0),
            static_cast<int32_t>(white));
  EXPECT_EQ(currentContext().foreColor, 0xFF112233u);
  EXPECT_EQ(runtimeState.hooks.setColours(0xFFAAAAAAu, 0xFF000001u, 1),
            static_cast<int32_t>(0xFF112233u));
  EXPECT_EQ(currentContext().foreColor, 0xFF112233u);  // kept by flag bit 0
  EXPECT_EQ(currentContext().backColor, 0xFF000001u);
  runtimeState.hooks.setColours(0, 0xFF777777u, 2);
  EXPECT_EQ(currentContext().foreColor, 0u);
  EXPECT_EQ(currentContext().backColor, 0xFF000001u);  // kept by flag bit 1

  closeScreen();
  openNullScreen(64, 64, 16);
  runtimeState.hooks.setColours(0xFFFF8040u, 0xFF0000FFu, 0);
  EXPECT_EQ(currentContext().foreColor, 0xFC08u);
  EXPECT_EQ(currentContext().backColor, 0x001Fu);
  EXPECT_EQ(runtimeState.hooks.setColours(0, 0, 0), static_cast<int32_t>(0xFFFF8242u));

  closeScreen();
  openNullScreen(64, 64, 8);
  EXPECT_EQ(runtimeState.hooks.setColours(0x1234u, 0x2u, 0), 15);  // fore 15, back 0
  EXPECT_EQ(currentContext().foreColor, 0x34u);
  EXPECT_EQ(runtimeState.hooks.setColours(1, 1, 0), 0x34 | 2 << 16);
}

TEST_F(TextGrid, ReadCellGivesCharacterAndColoursByDepth) {
  openNullScreen();
  runtimeState.hooks.setColours(0xFF010203u, 0xFF040506u, 0);
  placeCursor(3, 4, -1, 0, 0);
  print("Q");
  EXPECT_EQ(runtimeState.hooks.readCell(4, 3, 0), 'Q');
  EXPECT_EQ(runtimeState.hooks.readCell(4, 3, 1), static_cast<int32_t>(0xFF010203u));
  EXPECT_EQ(runtimeState.hooks.readCell(4, 3, 2), static_cast<int32_t>(0xFF040506u));
  EXPECT_EQ(runtimeState.hooks.readCell(0, 3, 0), 0);
  EXPECT_EQ(runtimeState.hooks.readCell(101, 3, 0), 0);
  EXPECT_EQ(runtimeState.hooks.readCell(4, 76, 0), 0);
  EXPECT_EQ(runtimeState.hooks.readCell(4, -1, 0), 0);

  closeScreen();
  openNullScreen(64, 64, 16);
  runtimeState.hooks.setColours(0xFFFF0000u, 0xFF00FF00u, 0);
  print("x");
  EXPECT_EQ(runtimeState.hooks.readCell(1, 1, 1), static_cast<int32_t>(0xFFFF0000u));
  EXPECT_EQ(runtimeState.hooks.readCell(1, 1, 2), static_cast<int32_t>(0xFF00FF00u));

  closeScreen();
  openNullScreen(64, 64, 8);
  runtimeState.hooks.setColours(3, 5, 0);
  print("x");
  EXPECT_EQ(runtimeState.hooks.readCell(1, 1, 1), 3 + 5 * 256);
  closeScreen();
  openNullScreen(64, 64, 4);
  runtimeState.hooks.setColours(3, 5, 0);
  print("x");
  EXPECT_EQ(runtimeState.hooks.readCell(1, 1, 1), 3 + 5 * 16);
}

TEST_F(TextGrid, EightBitScreenDrawsGlyphBytes) {
  GfxScreen& screen = openNullScreen(64, 64, 8);
  runtimeState.hooks.setColours(9, 2, 0);
  print("A");
  const uint8_t* glyph = fontTable[0].glyphs + 'A' * 8;
  for (int32_t r = 0; r < 8; ++r)
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(pixel(screen, i, r), (glyph[r] >> i & 1) ? 9u : 2u);
}

}  // namespace krgfx
