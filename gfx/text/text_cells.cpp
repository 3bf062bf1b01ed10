// Keeping the text cells of the work page in step with what is drawn.
#include "gfx/text/text_cells.h"

#include <algorithm>

#include "gfx/draw_context.h"

namespace krgfx {

namespace {
int32_t drawableCols(const GfxScreen& screen) {
  int32_t onScreen = screen.font && screen.font->width ? screen.width / screen.font->width : 0;
  return std::min(screen.textCols, onScreen);
}
}  // namespace

TextCell* workPageCells(const GfxScreen& screen, const DrawContext& context) {
  return screen.textCells[context.workPage];
}

int32_t drawableRows(const GfxScreen& screen) {
  int32_t onScreen = screen.font && screen.font->height ? screen.height / screen.font->height : 0;
  return std::min(screen.textRows, onScreen);
}

int32_t gridColumnsFrom(const GfxScreen& screen, int32_t col) {
  return col < 0 ? 0 : drawableCols(screen) - col;
}

bool rowInGrid(const GfxScreen& screen, int32_t row) {
  return row >= 0 && row < drawableRows(screen);
}

void blankCellRows(const GfxScreen& screen, const DrawContext& context, int32_t first,
                   int32_t last) {
  first = std::max(first, 0);
  last = std::min(last, screen.textRows - 1);
  TextCell* cells = workPageCells(screen, context);
  TextCell blank{32, context.foreColor, context.backColor};
  for (int32_t row = first; row <= last; ++row)
    std::fill_n(cells + row * screen.textCols, screen.textCols, blank);
}

void scrollCells(const GfxScreen& screen, const DrawContext& context, int32_t left, int32_t top,
                 int32_t right, int32_t bottom, int32_t lines) {
  TextCell* cells = workPageCells(screen, context);
  int32_t cols = screen.textCols;
  int32_t height = bottom - top + 1;
  if (lines < height)
    for (int32_t i = 0; i < height - lines; ++i)
      std::copy_n(cells + (top + lines + i) * cols + left, right - left + 1,
                  cells + (top + i) * cols + left);
  TextCell blank{32, context.foreColor, context.backColor};
  for (int32_t row = std::max(top, bottom - lines + 1); row <= bottom; ++row)
    std::fill_n(cells + row * cols + left, right - left + 1, blank);
}

}  // namespace krgfx
