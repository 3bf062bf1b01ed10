// The screen lock that keeps the presenter out while the program draws, and
// the marking of changed rows.
#include <krgfx/gfx.h>
#include "gfx/display/display_driver.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {
void driverLock(const GfxScreen& screen) {
  if (screen.driver && screen.driver->lock) screen.driver->lock();
}
void driverUnlock(const GfxScreen& screen) {
  if (screen.driver && screen.driver->unlock) screen.driver->unlock();
}
}  // namespace

void markDirtyRows(int32_t first, int32_t last) {
  GfxScreen& screen = *gfxScreen;
  for (int32_t row = first; row <= last; ++row) {
    screen.dirtyLines[row] = 1;
    screen.rowWrites[row] = rowUnshown | rowNotBlank;
  }
}

void markClaimedRows(int32_t first, int32_t last) {
  if (gfxScreen->pixelsHandedOut) return markDirtyRows(first, last);
  for (int32_t row = first; row <= last; ++row) gfxScreen->dirtyLines[row] = 1;
}

void dropUnwrittenMarks(GfxScreen& screen) {
  for (int32_t row = 0; row < screen.height; ++row)
    if (!(screen.rowWrites[row] & rowUnshown)) screen.dirtyLines[row] = 0;
}

void forgetShownRows(GfxScreen& screen) {
  for (int32_t row = 0; row < screen.height; ++row)
    screen.rowWrites[row] &= static_cast<uint8_t>(~rowUnshown);
}

void markAllRowsDirty() {
  if (gfxScreen) markDirtyRows(0, gfxScreen->height - 1);
}

void lockScreen() {
  if (!gfxScreen) return;
  if (gfxScreen->lockCount == 0) driverLock(*gfxScreen);
  ++gfxScreen->lockCount;
}

void unlockScreen(int32_t startLine, int32_t endLine) {
  DrawContext& context = currentContext();
  GfxScreen* screen = gfxScreen;
  if (!screen) return;
  if (startLine < 0) startLine = 0;
  if (endLine < 0) endLine = screen->height - 1;
  if (context.workPage == screen->visiblePage && endLine >= startLine && endLine < screen->height) {
    // An unlock without a matching lock still marks rows; it takes the lock
    // for that, so the presenter never reads the rows while they change.
    bool unlocked = screen->lockCount == 0;
    if (unlocked) driverLock(*screen);
    markClaimedRows(startLine, endLine);
    if (unlocked) driverUnlock(*screen);
  }
  if (screen->lockCount > 0 && --screen->lockCount == 0) driverUnlock(*screen);
}

}  // namespace krgfx
