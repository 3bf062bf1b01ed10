// When the program's unlock wakes a presenter that waits past its round.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/display/window_layer.h"
#include "support/screen_fixture.h"
#include "support/scripted_window_system.h"

namespace krgfx {

class PresenterWake : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    openNullScreen(64, 48, 32);
    windowLayer = WindowLayer{};
    windowLayer.system = &system;
  }
  void TearDown() override {
    windowLayer = WindowLayer{};
    ScreenTest::TearDown();
  }
  ScriptedWindowSystem system;
};

TEST_F(PresenterWake, OnlyAnIdlePresenterWithRowsOrAPaletteToShowIsWokenAndOnlyOnce) {
  EXPECT_FALSE(presenterToWake()) << "a presenter on its rounds needs no wake-up";
  windowLayer.presenterIdle = true;
  EXPECT_FALSE(presenterToWake()) << "nothing to show";
  EXPECT_TRUE(windowLayer.presenterIdle);
  markDirtyRows(47, 47);
  EXPECT_TRUE(presenterToWake());
  EXPECT_FALSE(windowLayer.presenterIdle);
  EXPECT_FALSE(presenterToWake()) << "already woken";
  std::memset(gfxScreen->dirtyLines, 0, 48);
  windowLayer.presenterIdle = true;
  windowLayer.paletteChanged = true;
  EXPECT_TRUE(presenterToWake());
}

}  // namespace krgfx
