// The text cursor of the graphics screen and the size of its grid.
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"
#include "gfx/text/text_view.h"
#include "runtime/runtime_state.h"

namespace krgfx {

namespace screenText {
namespace {
bool wrapPending() { return gfxScreen->flags & screenPendingWrap; }
}  // namespace

// While a wrap is pending the cursor reports the end of the last view row.
int32_t cursorColumn() {
  if (!gfxScreen) return 0;
  return wrapPending() ? gfxScreen->textCols : gfxScreen->cursorX + 1;
}

int32_t cursorRow() {
  if (!gfxScreen) return 0;
  return wrapPending() ? viewBottom + 1 : gfxScreen->cursorY + 1;
}

void cursorPosition(int32_t* col, int32_t* row) {
  if (col) *col = cursorColumn();
  if (row) *row = cursorRow();
}

void gridSize(int32_t* cols, int32_t* rows) {
  if (cols) *cols = gfxScreen ? gfxScreen->textCols : 0;
  if (rows) *rows = gfxScreen ? gfxScreen->textRows : 0;
}

int32_t placeCursor(int32_t row, int32_t col, int32_t /*cursor*/) {
  if (!gfxScreen) return 0;
  GfxScreen& screen = *gfxScreen;
  screen.flags &= ~screenPendingWrap;
  if (col - 1 >= 0) screen.cursorX = col - 1;
  if (row - 1 >= 0) screen.cursorY = row - 1;
  runtimeState.fileTable[0].printColumn = screen.cursorX;
  uint32_t code = ((static_cast<uint32_t>(screen.cursorX) & 0xFF) |
                   (static_cast<uint32_t>(screen.cursorY) << 8)) +
                  0x101;
  return static_cast<int32_t>(code);
}

}  // namespace screenText

}  // namespace krgfx
