#include <gtest/gtest.h>

#include <algorithm>

#include "support/screen_fixture.h"

namespace krgfx {

using ScreenLock = ScreenTest;

namespace {
int dirtyCount(const GfxScreen& screen) {
  return static_cast<int>(std::count(screen.dirtyLines, screen.dirtyLines + screen.height, 1));
}
void clearDirty(GfxScreen& screen) { std::fill_n(screen.dirtyLines, screen.height, 0); }
}  // namespace

TEST_F(ScreenLock, UnlockRangesMarkTheRowsTheySay) {
  GfxScreen& screen = openNullScreen();
  clearDirty(screen);
  unlockScreen(-1, -1);
  EXPECT_EQ(dirtyCount(screen), 600);
  clearDirty(screen);
  unlockScreen(1, 0);
  EXPECT_EQ(dirtyCount(screen), 0);
  unlockScreen(0, 600);
  EXPECT_EQ(dirtyCount(screen), 0);
  unlockScreen(-7, 3);
  EXPECT_EQ(dirtyCount(screen), 4);
  EXPECT_EQ(screen.dirtyLines[3], 1);
  EXPECT_EQ(screen.dirtyLines[4], 0);
  EXPECT_EQ(screen.lockCount, 0);
}

TEST_F(ScreenLock, NestedLocksTakeTheDriverLockOnce) {
  GfxScreen& screen = openRecordedScreen();
  lockScreen();
  lockScreen();
  EXPECT_EQ(screen.lockCount, 2);
  unlockScreen(1, 0);
  unlockScreen(1, 0);
  EXPECT_EQ(screen.lockCount, 0);
  EXPECT_EQ(testing_drivers::calls, (std::vector<std::string>{"GDI.lock", "GDI.unlock"}));
}

TEST_F(ScreenLock, UnlockWithoutLockMarksUnderTheDriverLock) {
  GfxScreen& screen = openRecordedScreen();
  clearDirty(screen);
  unlockScreen(5, 6);
  EXPECT_EQ(dirtyCount(screen), 2);
  EXPECT_EQ(screen.lockCount, 0);
  EXPECT_EQ(testing_drivers::calls, (std::vector<std::string>{"GDI.lock", "GDI.unlock"}));
}

TEST_F(ScreenLock, RowsOfAHiddenWorkPageAreNotMarked) {
  GfxScreen& screen = openNullScreen(64, 64, 32, 2);
  clearDirty(screen);
  screen.visiblePage = 1;
  lockScreen();
  unlockScreen(-1, -1);
  EXPECT_EQ(dirtyCount(screen), 0);
}

}  // namespace krgfx
