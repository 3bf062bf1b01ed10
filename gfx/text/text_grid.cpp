// The text grid's size and font, the text colours and reading back a cell.
#include <cstdlib>
#include <new>

#include <krgfx/text.h>
#include "gfx/builtin_data.h"
#include "gfx/colour_format.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"
#include "runtime/runtime_state.h"

namespace krgfx {

namespace screenText {
namespace {

// The built-in font with cells of this size, or null.
const FontDesc* fontOfCell(int32_t width, int32_t height) {
  for (const FontDesc& font : fontTable)
    if (font.width == width && font.height == height) return &font;
  return nullptr;
}

// New blank cell arrays for every page; false (nothing changed) when memory
// runs out.
bool rebuildCells(GfxScreen& screen, int32_t cols, int32_t rows, const DrawContext& context) {
  size_t count = static_cast<size_t>(cols) * static_cast<size_t>(rows);
  auto** fresh = new (std::nothrow) TextCell*[static_cast<size_t>(screen.pageCount)]();
  if (!fresh) return false;
  for (int32_t page = 0; page < screen.pageCount; ++page) {
    fresh[page] = static_cast<TextCell*>(std::malloc(count * sizeof(TextCell)));
    if (!fresh[page]) {
      for (int32_t done = 0; done < page; ++done) std::free(fresh[done]);
      delete[] fresh;
      return false;
    }
    for (size_t i = 0; i < count; ++i) fresh[page][i] = {32, context.foreColor, context.backColor};
  }
  for (int32_t page = 0; page < screen.pageCount; ++page) std::free(screen.textCells[page]);
  delete[] screen.textCells;
  screen.textCells = fresh;
  return true;
}

void resetClipToScreen(DrawContext& context, const GfxScreen& screen) {
  bindTarget(context, nullptr);
  context.viewRect = {0, 0, screen.width, screen.height};
  context.viewSetExplicitly = 0;
}

uint32_t toScreenFormat(const GfxScreen& screen, uint32_t colour) {
  if (screen.depth <= 8) return colour & screen.colorMask;
  return screen.depth == 16 ? to565(colour) : colour;
}

}  // namespace

int32_t setGrid(int32_t cols, int32_t rows) {
  if (!gfxScreen) return 0;
  GfxScreen& screen = *gfxScreen;
  int32_t previous = static_cast<int32_t>(static_cast<uint32_t>(screen.textCols) |
                                          static_cast<uint32_t>(screen.textRows) << 16);
  if (cols <= 0 && rows <= 0) return previous;
  int32_t fontWidth = screen.font ? screen.font->width : 0;
  int32_t fontHeight = screen.font ? screen.font->height : 0;
  int32_t cellWidth = cols > 0 ? screen.width / cols : fontWidth;
  int32_t cellHeight = rows > 0 ? screen.height / rows : fontHeight;
  if (cols <= 0) cols = screen.textCols;
  if (rows <= 0) rows = screen.textRows;
  const FontDesc* font = cellWidth == 8 ? fontOfCell(cellWidth, cellHeight) : nullptr;
  if (!font) return previous;
  DrawContext& context = currentContext();
  if (!rebuildCells(screen, cols, rows, context)) return previous;
  screen.textCols = cols;
  screen.textRows = rows;
  screen.font = font;
  runtimeState.fileTable[0].printWidth = cols;
  resetClipToScreen(context, screen);
  setTextView(0, 0, 1);
  clearScreen(0);
  return previous;
}

int32_t setColours(uint32_t foreground, uint32_t background, int32_t flags) {
  if (!gfxScreen) return 0;
  const GfxScreen& screen = *gfxScreen;
  DrawContext& context = currentContext();
  uint32_t previousFore = context.foreColor, previousBack = context.backColor;
  if (!(flags & 1)) context.foreColor = toScreenFormat(screen, foreground);
  if (!(flags & 2)) context.backColor = toScreenFormat(screen, background);
  if (screen.depth <= 8) return static_cast<int32_t>(previousFore | previousBack << 16);
  if (screen.depth == 16) return static_cast<int32_t>(from565(previousFore));
  return static_cast<int32_t>(previousFore);
}

int32_t readCell(int32_t col, int32_t row, int32_t colourFlag) {
  if (!gfxScreen) return 0;
  const GfxScreen& screen = *gfxScreen;
  if (col < 1 || col > screen.textCols || row < 1 || row > screen.textRows) return 0;
  const DrawContext& context = currentContext();
  const TextCell& cell = screen.textCells[context.workPage][(row - 1) * screen.textCols + col - 1];
  if (colourFlag == 0) return static_cast<int32_t>(cell.character);
  if (screen.depth <= 4) return static_cast<int32_t>(cell.foreColor + cell.backColor * 16);
  if (screen.depth <= 8) return static_cast<int32_t>(cell.foreColor + cell.backColor * 256);
  uint32_t colour = colourFlag == 2 ? cell.backColor : cell.foreColor;
  return static_cast<int32_t>(screen.depth == 16 ? from565(colour) : colour);
}

}  // namespace screenText

}  // namespace krgfx
