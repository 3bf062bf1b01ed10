// A test fixture that leaves no screen, driver or setting behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/cpu_features.h"
#include "gfx/screen.h"
#include "support/test_platform.h"
#include "test_drivers.h"

namespace krgfx {

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setTestEnvironment("KRGFX", nullptr);
    testing_drivers::install();
  }
  void TearDown() override {
    closeScreen();
    testing_drivers::uninstall();
    clearVectorLevelOverride();
    setTestEnvironment("KRGFX", nullptr);
  }
  // Opens a screen on the null driver.
  static GfxScreen& openNullScreen(int32_t width = 800, int32_t height = 600, int32_t depth = 32,
                                   int32_t pages = 1) {
    EXPECT_EQ(openScreen(width, height, depth, pages, flagNoDisplay, 0), 0);
    return *gfxScreen;
  }
  // Opens a screen on the recording GDI driver.
  static GfxScreen& openRecordedScreen(int32_t depth = 32) {
    testing_drivers::succeedingDriver = 1;
    EXPECT_EQ(openScreen(800, 600, depth, 1, 0, 0), 0);
    testing_drivers::calls.clear();
    return *gfxScreen;
  }
};

}  // namespace krgfx
