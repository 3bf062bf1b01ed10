// Clearing the graphics screen: the whole page, the text view or the
// graphics view (the clip rectangle).
#include <algorithm>

#include <krgfx/gfx.h>
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"
#include "gfx/text/text_cells.h"
#include "gfx/text/text_view.h"

namespace krgfx {

namespace screenText {
namespace {

enum class ClearArea { wholeScreen, textView, graphicsView };

ClearArea areaOf(int32_t mode, const GfxScreen& screen, const DrawContext& context) {
  if (mode == 0) return ClearArea::wholeScreen;
  if (mode == 2) return ClearArea::textView;
  if (mode != notGiven) return ClearArea::graphicsView;
  if (context.viewSetExplicitly) return ClearArea::graphicsView;
  bool viewIsWholeGrid = viewTop == 0 && viewBottom == screen.textRows - 1;
  return viewIsWholeGrid ? ClearArea::wholeScreen : ClearArea::textView;
}

// Fills pixel rows [first, end) from column x, `width` pixels each.
void fillRows(DrawContext& context, int32_t first, int32_t end, int32_t x, int32_t width) {
  for (int32_t row = first; row < end; ++row)
    context.fillSpan(context.rowTable[row] + x * context.bytesPerPixel, context.backColor, width);
}

void centreLastPoint(DrawContext& context, const ViewRect& rect) {
  context.lastX = static_cast<float>(rect.x + rect.width / 2);
  context.lastY = static_cast<float>(rect.y + rect.height / 2);
}

void homeCursor() { placeCursor(viewTop + 1, 1, -1); }

// Rows changed, as [first, end).
struct Rows {
  int32_t first, end;
};

Rows clearWholeScreen(const GfxScreen& screen, DrawContext& context) {
  fillRows(context, 0, screen.height, 0, screen.width);
  centreLastPoint(context, context.viewRect);
  blankCellRows(screen, context, 0, screen.textRows - 1);
  homeCursor();
  return {0, screen.height};
}

Rows clearTextView(const GfxScreen& screen, DrawContext& context) {
  int32_t cellHeight = screen.font ? screen.font->height : 8;
  int32_t first = std::clamp(viewTop * cellHeight, 0, screen.height);
  int32_t end = std::clamp((viewBottom + 1) * cellHeight, first, screen.height);
  fillRows(context, first, end, 0, screen.width);
  blankCellRows(screen, context, viewTop, viewBottom);
  homeCursor();
  return {first, end};
}

int32_t clampedEnd(int32_t start, int32_t size, int32_t low, int32_t high) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{start} + size, low, high));
}

Rows clearGraphicsView(const GfxScreen& screen, DrawContext& context) {
  const ViewRect& rect = context.viewRect;
  // The clip rectangle is meant to lie on the screen; only that part is filled.
  int32_t left = std::clamp(rect.x, 0, screen.width);
  int32_t right = clampedEnd(rect.x, rect.width, left, screen.width);
  int32_t first = std::clamp(rect.y, 0, screen.height);
  int32_t end = clampedEnd(rect.y, rect.height, first, screen.height);
  fillRows(context, first, end, left, right - left);
  centreLastPoint(context, rect);
  return {first, end};
}

}  // namespace

void clearScreen(int32_t mode) {
  if (!gfxScreen) return;
  GfxScreen& screen = *gfxScreen;
  DrawContext& context = currentContext();
  bindTarget(context, nullptr);
  chooseWriteMode(context, context.backColor);
  lockScreen();
  determineViewRows();
  Rows changed{0, 0};
  switch (areaOf(mode, screen, context)) {
    case ClearArea::wholeScreen:
      changed = clearWholeScreen(screen, context);
      break;
    case ClearArea::textView:
      changed = clearTextView(screen, context);
      break;
    case ClearArea::graphicsView:
      changed = clearGraphicsView(screen, context);
      break;
  }
  if (context.workPage == screen.visiblePage && changed.first < changed.end)
    markDirtyRows(changed.first, changed.end - 1);
  unlockScreen(1, 0);
}

}  // namespace screenText

}  // namespace krgfx
