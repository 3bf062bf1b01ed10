// The graphics screen's text slots of the console hooks.
#include "gfx/screen.h"
#include "gfx/screen_hooks.h"
#include "gfx/text/text_view.h"

namespace {

bool wrapPending() { return gfxScreen->flags & screenPendingWrap; }

int32_t cursorColumn() { return wrapPending() ? gfxScreen->textCols : gfxScreen->cursorX + 1; }

int32_t cursorRow() { return wrapPending() ? viewBottom + 1 : gfxScreen->cursorY + 1; }

void cursorPosition(int32_t* col, int32_t* row) {
  if (col) *col = cursorColumn();
  if (row) *row = cursorRow();
}

void gridSize(int32_t* cols, int32_t* rows) {
  if (cols) *cols = gfxScreen->textCols;
  if (rows) *rows = gfxScreen->textRows;
}

int32_t placeCursor(int32_t row, int32_t col, int32_t /*cursor*/) {
  GfxScreen& screen = *gfxScreen;
  screen.flags &= ~screenPendingWrap;
  if (col - 1 >= 0) screen.cursorX = col - 1;
  if (row - 1 >= 0) screen.cursorY = row - 1;
  runtimeState.fileTable[0].printColumn = screen.cursorX;
  return ((screen.cursorX & 0xFF) | (screen.cursorY << 8)) + 0x101;
}

}  // namespace

void installTextHooks(ConsoleHooks& hooks) {
  hooks.cursorColumn = cursorColumn;
  hooks.cursorRow = cursorRow;
  hooks.cursorPosition = cursorPosition;
  hooks.gridSize = gridSize;
  hooks.placeCursor = placeCursor;
}
