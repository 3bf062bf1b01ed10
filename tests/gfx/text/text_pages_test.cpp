#include <gtest/gtest.h>

#include "gfx/display/display_driver.h"
#include "text_fixture.h"

namespace krgfx {

using namespace text_testing;

using TextPages = ScreenTest;

namespace {
int32_t flips, polls;
void flip() { ++flips; }
void poll() { ++polls; }
DisplayDriver makeFlippingDriver() {
  DisplayDriver driver{};
  driver.name = "flipping";
  driver.showPage = flip;
  driver.pumpInput = poll;
  return driver;
}
const DisplayDriver flippingDriver = makeFlippingDriver();

int32_t dirtyRows(const GfxScreen& screen) {
  int32_t count = 0;
  for (int32_t y = 0; y < screen.height; ++y) count += screen.dirtyLines[y];
  return count;
}
}  // namespace

TEST_F(TextPages, WorkPageTakesTheDrawingAndVisiblePageIsShown) {
  GfxScreen& screen = openNullScreen(64, 64, 32, 3);
  EXPECT_EQ(runtimeState.hooks.setPages(1, -1), 0);
  EXPECT_EQ(currentContext().workPage, 1);
  print("A");
  EXPECT_EQ(pixel(screen, 0, 0, 0), black);
  EXPECT_EQ(cellRow(screen, 0, 1)[0], 'A');
  EXPECT_EQ(cellRow(screen, 0, 0)[0], ' ');

  clearDirty(screen);
  EXPECT_EQ(runtimeState.hooks.setPages(-1, 2), 1);
  EXPECT_EQ(screen.visiblePage, 2);
  EXPECT_EQ(screen.visibleFramebuffer, screen.pages[2]);
  EXPECT_EQ(dirtyRows(screen), 64);
  EXPECT_EQ(runtimeState.hooks.setPages(7, 9), 2 << 8 | 1);    // out of range: kept
  EXPECT_EQ(runtimeState.hooks.setPages(-1, -1), 2 << 8 | 1);  // both back to 0
  EXPECT_EQ(screen.visiblePage, 0);
  EXPECT_EQ(currentContext().workPage, 0);
}

TEST_F(TextPages, RowsOfAHiddenWorkPageAreNotMarked) {
  GfxScreen& screen = openNullScreen(64, 64, 32, 2);
  runtimeState.hooks.setPages(1, 0);
  clearDirty(screen);
  print("x");
  runtimeState.hooks.clearScreen(0);
  EXPECT_EQ(dirtyRows(screen), 0);
}

TEST_F(TextPages, CopyTakesTheClipRectangleAndAllCells) {
  GfxScreen& screen = openNullScreen(64, 64, 32, 2);
  runtimeState.hooks.setPages(1, 0);
  runtimeState.hooks.setColours(0xFF00FF00u, 0xFF0000FFu, 0);
  runtimeState.hooks.clearScreen(0);
  print("hi");
  runtimeState.hooks.setPages(0, 0);
  currentContext().viewRect = {0, 0, 8, 16};
  clearDirty(screen);
  EXPECT_EQ(runtimeState.hooks.copyPage(1, -1), 0);
  EXPECT_EQ(pixel(screen, 7, 15, 0), 0xFF0000FFu);
  EXPECT_EQ(pixel(screen, 8, 15, 0), black);  // outside the clip rectangle
  EXPECT_EQ(pixel(screen, 7, 16, 0), black);
  EXPECT_EQ(cellRow(screen, 0, 0).substr(0, 2), "hi");  // every cell
  EXPECT_EQ(dirtyRows(screen), 16);

  // Copying onto the visible page marks its rows even under the caller's lock.
  clearDirty(screen);
  lockScreen();
  EXPECT_EQ(runtimeState.hooks.copyPage(1, 0), 0);
  EXPECT_EQ(screen.lockCount, 1);
  unlockScreen(1, 0);
  EXPECT_EQ(dirtyRows(screen), 16);
}

TEST_F(TextPages, CopyRefusesPagesOutsideTheMode) {
  GfxScreen& screen = openNullScreen(64, 64, 32, 2);
  EXPECT_EQ(runtimeState.hooks.copyPage(2, 0), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(runtimeState.hooks.copyPage(0, 5), errBadCall);
  EXPECT_EQ(runtimeState.hooks.copyPage(0, 0), 0);
  EXPECT_EQ(runtimeError(), 0);
  // A driver that flips pages is asked to, instead of a copy.
  const DisplayDriver* own = screen.driver;
  screen.driver = &flippingDriver;
  flips = polls = 0;
  EXPECT_EQ(runtimeState.hooks.copyPage(1, 0), 0);
  EXPECT_EQ(flips, 1);
  EXPECT_EQ(polls, 1);
  screen.driver = own;
}

}  // namespace krgfx
