// Choosing the page drawn into and the page shown, and copying pages.
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/display/display_driver.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"

namespace krgfx {

namespace screenText {
namespace {

bool isPage(const GfxScreen& screen, int32_t page) { return page >= 0 && page < screen.pageCount; }

// Points the context's screen rows at another page.
void drawIntoPage(DrawContext& context, int32_t page) {
  context.workPage = page;
  if (context.target) {
    // The screen's rows are rebuilt for the new page when it is bound again.
    context.flags |= contextRestoreScreenView;
    return;
  }
  context.savedScreenView = context.viewRect;
  context.flags |= contextRestoreScreenView;
  bindTarget(context, nullptr);
}

void showPage(GfxScreen& screen, int32_t page) {
  lockScreen();
  screen.visiblePage = page;
  screen.visibleFramebuffer = screen.pages[page];
  markAllRowsDirty();
  unlockScreen(1, 0);
}

// The screen's clip rectangle, limited to the screen.
ViewRect screenClip(const DrawContext& context, const GfxScreen& screen) {
  ViewRect rect = context.target ? context.savedScreenView : context.viewRect;
  auto limit = [](int32_t start, int32_t size, int32_t total, int32_t* from, int32_t* to) {
    int64_t first = start < 0 ? 0 : start > total ? total : start;
    int64_t end = int64_t{start} + size;
    end = end < first ? first : end > total ? total : end;
    *from = static_cast<int32_t>(first);
    *to = static_cast<int32_t>(end);
  };
  int32_t x0, x1, y0, y1;
  limit(rect.x, rect.width, screen.width, &x0, &x1);
  limit(rect.y, rect.height, screen.height, &y0, &y1);
  return {x0, y0, x1 - x0, y1 - y0};
}

void copyPixels(const GfxScreen& screen, const ViewRect& clip, int32_t source,
                int32_t destination) {
  size_t offset = static_cast<size_t>(clip.x) * screen.bytesPerPixel;
  size_t bytes = static_cast<size_t>(clip.width) * screen.bytesPerPixel;
  for (int32_t row = clip.y; row < clip.y + clip.height; ++row) {
    size_t start = static_cast<size_t>(row) * screen.pitch + offset;
    std::memcpy(screen.pages[destination] + start, screen.pages[source] + start, bytes);
  }
}

void copyCells(const GfxScreen& screen, int32_t source, int32_t destination) {
  size_t count = static_cast<size_t>(screen.textCols) * static_cast<size_t>(screen.textRows);
  std::memcpy(screen.textCells[destination], screen.textCells[source], count * sizeof(TextCell));
}

}  // namespace

int32_t setPages(int32_t work, int32_t visible) {
  if (!gfxScreen) return -1;
  GfxScreen& screen = *gfxScreen;
  DrawContext& context = currentContext();
  int32_t previous = screen.visiblePage << 8 | context.workPage;
  if (work < 0 && visible < 0) work = visible = 0;
  if (isPage(screen, work) && work != context.workPage) drawIntoPage(context, work);
  if (isPage(screen, visible) && visible != screen.visiblePage) showPage(screen, visible);
  return previous;
}

int32_t copyPage(int32_t source, int32_t destination) {
  if (!gfxScreen) return setRuntimeError(errBadCall);
  GfxScreen& screen = *gfxScreen;
  DrawContext& context = currentContext();
  if (source < 0) source = context.workPage;
  if (destination < 0) destination = screen.visiblePage;
  if (!isPage(screen, source) || !isPage(screen, destination)) return setRuntimeError(errBadCall);
  if (screen.driver && screen.driver->showPage) {
    // A driver that presents pages itself flips instead of copying.
    screen.driver->showPage();
    if (screen.driver->pumpInput) screen.driver->pumpInput();
    return setRuntimeError(0);
  }
  if (source == destination) return setRuntimeError(0);
  bool shown = destination == screen.visiblePage;
  ViewRect clip = screenClip(context, screen);
  // The lock nests: a caller that holds it keeps it.
  if (shown) lockScreen();
  copyPixels(screen, clip, source, destination);
  copyCells(screen, source, destination);
  if (shown) {
    if (clip.height > 0) markDirtyRows(clip.y, clip.y + clip.height - 1);
    unlockScreen(1, 0);
  }
  return setRuntimeError(0);
}

}  // namespace screenText

}  // namespace krgfx
