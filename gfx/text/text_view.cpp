// The text view and the cursor placing that checks rows against it.
#include "gfx/text/text_view.h"

#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "runtime/runtime_state.h"

namespace krgfx {

int32_t viewTop = -1;
int32_t viewBottom = -1;

namespace {
void gridSize(int32_t* cols, int32_t* rows) {
  *cols = 0;
  *rows = 0;
  if (auto hook = activeHook<&ConsoleHooks::gridSize>()) hook(cols, rows);
}
}  // namespace

void forgetTextView() { viewTop = viewBottom = -1; }

void determineViewRows() {
  if (viewTop == -1) viewTop = 0;
  if (viewBottom == -1) {
    int32_t cols, rows;
    gridSize(&cols, &rows);
    viewBottom = rows ? rows - 1 : 24;
  }
}

int32_t placeCursor(int32_t row, int32_t col, int32_t cursor, int32_t /*start*/, int32_t /*stop*/) {
  setRuntimeError(0);
  determineViewRows();
  int32_t cols, rows;
  gridSize(&cols, &rows);
  bool badRow = row != 0 && (row < viewTop + 1 || row > viewBottom + 1);
  bool badCol = col != 0 && (col < 1 || col > cols);
  if (badRow || badCol) {
    // An invalid place keeps the cursor; the retry ends with error 0.
    setRuntimeError(errBadCall);
    return placeCursor(0, 0, cursor, 0, 0);
  }
  int32_t position = 0;
  if (auto hook = activeHook<&ConsoleHooks::placeCursor>()) position = hook(row, col, cursor);
  if (col != 0) runtimeState.fileTable[0].printColumn = col - 1;
  return position;
}

int32_t setTextView(int32_t top, int32_t bottom, int32_t moveCursor) {
  int32_t cols, rows;
  gridSize(&cols, &rows);
  if (rows == 0) rows = 25;
  determineViewRows();
  bool requested = top >= 0 || bottom >= 0;
  top = top == 0 ? 1 : top < 0 ? viewTop + 1 : top;
  bottom = bottom == 0 ? rows : bottom < 0 ? viewBottom + 1 : bottom;
  if (bottom < top || rows < bottom || rows < top) return 0;
  if (requested) {
    viewTop = top - 1;
    viewBottom = bottom - 1;
    if (auto hook = activeHook<&ConsoleHooks::viewChanged>()) hook();
    if (moveCursor) placeCursor(top, 1, -1, 0, 0);
  }
  return top + (bottom << 16);
}

}  // namespace krgfx
