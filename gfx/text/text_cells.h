// The text cells of the screen's pages: what was drawn in each character
// position, kept in step with the glyphs of the work page.
#pragma once

#include <cstdint>

#include "gfx/screen.h"

namespace krgfx {

struct DrawContext;

// The cells of the page the context draws into.
TextCell* workPageCells(const GfxScreen& screen, const DrawContext& context);

// Columns from `col` to the right edge, and whether `row` is a grid row, both
// limited to cells that lie wholly on the screen.
int32_t gridColumnsFrom(const GfxScreen& screen, int32_t col);
bool rowInGrid(const GfxScreen& screen, int32_t row);
int32_t drawableRows(const GfxScreen& screen);

// Rows first to last of the work page become spaces in the current colours.
void blankCellRows(const GfxScreen& screen, const DrawContext& context, int32_t first,
                   int32_t last);

// Moves the cells of rows top to bottom, columns left to right, up by
// `lines` rows and blanks the rows that come free.
void scrollCells(const GfxScreen& screen, const DrawContext& context, int32_t left, int32_t top,
                 int32_t right, int32_t bottom, int32_t lines);

}  // namespace krgfx
