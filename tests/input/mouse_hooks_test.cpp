#include <gtest/gtest.h>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "gfx/display/display_driver.h"
#include "gfx/screen.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

// A driver whose mouse answers as the test says.
struct MouseDriver {
  static inline int32_t result = 0;
  static inline int32_t placed[4];
  static inline int32_t lockCountSeen = 0;
  static int32_t init(const char*, int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
  static void doNothing() {}
  static int32_t readMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                           int32_t* clip) {
    lockCountSeen = gfxScreen->lockCount;
    if (result != 0) return result;
    *x = 320, *y = 240, *wheel = -2, *buttons = 3, *clip = 1;
    return 0;
  }
  static int32_t placeMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
    lockCountSeen = gfxScreen->lockCount;
    placed[0] = x, placed[1] = y, placed[2] = cursor, placed[3] = clip;
    return 0;
  }
};

const DisplayDriver mouseDriver = {
    .name = "GDI",
    .init = MouseDriver::init,
    .exit = MouseDriver::doNothing,
    .lock = MouseDriver::doNothing,
    .unlock = MouseDriver::doNothing,
    .setPaletteEntry = nullptr,
    .waitRetrace = nullptr,
    .readMouse = MouseDriver::readMouse,
    .placeMouse = MouseDriver::placeMouse,
    .setTitle = nullptr,
    .moveWindow = nullptr,
    .listModes = nullptr,
    .showPage = nullptr,
    .pumpInput = nullptr,
};

class MouseHooksTest : public ScreenTest {
 protected:
  void openMouseScreen() {
    driverTable[1] = &mouseDriver;
    ASSERT_EQ(openScreen(800, 600, 32, 1, 0, 0), 0);
    ASSERT_EQ(gfxScreen->driver, &mouseDriver);
    MouseDriver::result = 0;
  }
  int32_t x = 7, y = 7, wheel = 7, buttons = 7, clip = 7;
  void expectNoReport() {
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(wheel, -1);
    EXPECT_EQ(buttons, -1);
    EXPECT_EQ(clip, -1);
    EXPECT_EQ(runtimeError(), errBadCall);
  }
};

}  // namespace

TEST_F(MouseHooksTest, TheDriverReportsUnderTheLock) {
  openMouseScreen();
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 0);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
  EXPECT_EQ(wheel, -2);
  EXPECT_EQ(buttons, 3);
  EXPECT_EQ(clip, 1);
  EXPECT_EQ(runtimeError(), 0);
  EXPECT_EQ(MouseDriver::lockCountSeen, 1);
  EXPECT_EQ(gfxScreen->lockCount, 0);
}

TEST_F(MouseHooksTest, OptionalOutputsMayBeLeftOut) {
  openMouseScreen();
  EXPECT_EQ(readMouse(&x, &y, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
}

TEST_F(MouseHooksTest, NoReportFromTheDriverGivesMinusOneEverywhere) {
  openMouseScreen();
  MouseDriver::result = -1;
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 1);
  expectNoReport();
  // The game's two tests of the buttons: pressed for one, not for the other.
  EXPECT_TRUE(buttons != 0);
  EXPECT_FALSE(buttons > 0);
}

TEST_F(MouseHooksTest, MissingPositionOutputsAreABadCall) {
  openMouseScreen();
  EXPECT_EQ(readMouse(nullptr, &y, &wheel, &buttons, &clip), 1);
  EXPECT_EQ(y, -1);
  EXPECT_EQ(buttons, -1);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(readMouse(&x, nullptr, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(x, -1);
}

TEST_F(MouseHooksTest, TheNullDriverHasNoMouse) {
  openNullScreen();
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 1);
  expectNoReport();
  setRuntimeError(0);
  EXPECT_EQ(placeMouse(1, 2, 0, 0), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
}

TEST_F(MouseHooksTest, WithoutAScreenThereIsNoMouse) {
  EXPECT_EQ(readMouse(&x, &y, &wheel, &buttons, &clip), 1);
  expectNoReport();
  setRuntimeError(0);
  EXPECT_EQ(placeMouse(320, 240, 0, -1), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
}

TEST_F(MouseHooksTest, PlaceMousePassesItsArgumentsUnderTheLock) {
  openMouseScreen();
  setRuntimeError(errNoFile);
  EXPECT_EQ(placeMouse(mouseNotGiven, 9999, 0, -1), 0);
  EXPECT_EQ(runtimeError(), 0);
  EXPECT_EQ(MouseDriver::placed[0], mouseNotGiven);
  EXPECT_EQ(MouseDriver::placed[1], 9999);
  EXPECT_EQ(MouseDriver::placed[2], 0);
  EXPECT_EQ(MouseDriver::placed[3], -1);
  EXPECT_EQ(MouseDriver::lockCountSeen, 1);
  EXPECT_EQ(gfxScreen->lockCount, 0);
}

}  // namespace krgfx
