// Clearing the graphics screen: the whole page, the text view or the
// graphics view (the clip rectangle).
#include <algorithm>

#include <krgfx/gfx.h>
#include "gfx/depth_routines.h"
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

// Rows changed, as [first, end).
struct Rows {
  int32_t first, end;
};

// Whole rows [first, end) of the page shown: rows known to hold the colour
// already are left alone; the others are filled and marked here.
Rows fillShownRows(GfxScreen& screen, DrawContext& context, int32_t first, int32_t end) {
  uint32_t colour = context.backColor;
  if (colour != screen.blankColour) {
    for (int32_t row = 0; row < screen.height; ++row) screen.rowWrites[row] |= rowNotBlank;
    screen.blankColour = colour;
  }
  for (int32_t row = first; row < end; ++row) {
    if (!(screen.rowWrites[row] & rowNotBlank) && !screen.pixelsHandedOut) continue;
    context.fillSpan(context.rowTable[row], colour, screen.width);
    markDirtyRows(row, row);
    screen.rowWrites[row] &= static_cast<uint8_t>(~rowNotBlank);
  }
  return {0, 0};
}

// Whole rows [first, end); the rows to mark as changed. A blended colour
// changes rows however often it is filled in.
Rows fillWholeRows(GfxScreen& screen, DrawContext& context, int32_t first, int32_t end) {
  if (context.workPage == screen.visiblePage && context.fillSpan == depthRoutines.fillSpan)
    return fillShownRows(screen, context, first, end);
  fillRows(context, first, end, 0, screen.width);
  return {first, end};
}

void centreLastPoint(DrawContext& context, const ViewRect& rect) {
  context.lastX = static_cast<float>(rect.x + rect.width / 2);
  context.lastY = static_cast<float>(rect.y + rect.height / 2);
}

void homeCursor() { placeCursor(viewTop + 1, 1, -1); }

Rows clearWholeScreen(GfxScreen& screen, DrawContext& context) {
  Rows changed = fillWholeRows(screen, context, 0, screen.height);
  centreLastPoint(context, context.viewRect);
  blankCellRows(screen, context, 0, screen.textRows - 1);
  homeCursor();
  return changed;
}

Rows clearTextView(GfxScreen& screen, DrawContext& context) {
  int32_t cellHeight = screen.font ? screen.font->height : 8;
  int32_t first = std::clamp(viewTop * cellHeight, 0, screen.height);
  int32_t end = std::clamp((viewBottom + 1) * cellHeight, first, screen.height);
  Rows changed = fillWholeRows(screen, context, first, end);
  blankCellRows(screen, context, viewTop, viewBottom);
  homeCursor();
  return changed;
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
