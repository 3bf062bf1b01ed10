// Printing bytes on the graphics screen: the cursor, the pending wrap at the
// end of the view and the rows marked for the presenter.
#include <algorithm>

#include <krgfx/gfx.h>
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"
#include "gfx/text/text_view.h"

namespace krgfx {

namespace screenText {
namespace {

PrintRegion viewRegion(DrawContext& context, const GfxScreen& screen) {
  PrintRegion region{};
  region.target = &context;
  region.scroll = scrollRegion;
  region.write = drawGlyphs;
  region.left = 0;
  region.right = screen.textCols - 1;
  region.top = viewTop;
  region.bottom = viewBottom;
  // A cursor placed far beyond the view scrolls it clear just the same from
  // one view height below; the limit keeps the arithmetic in range.
  int32_t viewHeight = viewBottom - viewTop + 1;
  region.x = std::min(screen.cursorX, region.right + 1);
  region.y = std::min(screen.cursorY, viewBottom + std::max(viewHeight, 1));
  return region;
}

// Carries out a wrap left pending by the last print.
void takePendingWrap(GfxScreen& screen, PrintRegion& region) {
  if (!(screen.flags & screenPendingWrap)) return;
  screen.flags &= ~screenPendingWrap;
  region.x = region.left;
  ++region.y;
  scrollToCursor(region);
}

// A text that ends exactly at the end of the last view row keeps the cursor
// there: the view scrolls only when more text follows.
void settleCursor(GfxScreen& screen, PrintRegion& region) {
  if (region.bottom != -1 && region.x == region.left && region.y == region.bottom + 1) {
    region.y = region.bottom;
    region.x = region.right;
    screen.flags |= screenPendingWrap;
  } else {
    scrollToCursor(region);
  }
  if (region.x >= 0) screen.cursorX = region.x;
  if (region.y >= 0) screen.cursorY = region.y;
}

}  // namespace

void outputBytes(const uint8_t* bytes, int32_t length, int32_t mask) {
  if (!gfxScreen || length < 0 || (length > 0 && !bytes)) return;
  if (length == 0 && !(mask & outputFlushWrap)) return;
  GfxScreen& screen = *gfxScreen;
  DrawContext& context = currentContext();
  bindTarget(context, nullptr);
  chooseWriteMode(context, 0xFF000000u);
  lockScreen();
  determineViewRows();
  PrintRegion region = viewRegion(context, screen);
  takePendingWrap(screen, region);
  printToRegion(region, bytes, length, true);
  settleCursor(screen, region);
  if (context.workPage == screen.visiblePage && region.dirtyFirst < region.dirtyEnd)
    markDirtyRows(region.dirtyFirst, region.dirtyEnd - 1);
  unlockScreen(1, 0);
}

}  // namespace screenText

}  // namespace krgfx
