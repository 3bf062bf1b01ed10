// A fixture that runs the real window drivers over a scripted window system.
#pragma once

#include "support/presenter_threads.h"
#include "support/screen_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "gfx/display/window_layer.h"
#include "screen_fixture.h"
#include "scripted_window_system.h"

namespace krgfx {

class WindowLayerTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    testing_drivers::uninstall();  // the real driver table
    useScriptedWindowSystem(system);
  }
  void TearDown() override {
    closeScreen();
    restoreWindowSystemProvider();
    ScreenTest::TearDown();
  }

  // Opens an 800x600 screen on the named driver.
  GfxScreen& openOn(const char* driver, int32_t depth = 32, int32_t flags = 0) {
    setTestEnvironment("KRGFX", driver);
    EXPECT_EQ(openScreen(800, 600, depth, 1, flags, 0), 0);
    return *gfxScreen;
  }
  // Lets the presenter run `rounds` more rounds.
  void letPresenterRun(int rounds = 2) { EXPECT_TRUE(system.waitForDispatches(rounds)); }
  void deliver(const WindowMessage& message) {
    system.inject(message);
    EXPECT_TRUE(system.waitUntilDelivered());
  }
  static int dirtyRowCount() {
    lockScreen();
    int count = static_cast<int>(std::count_if(gfxScreen->dirtyLines,
                                               gfxScreen->dirtyLines + gfxScreen->height,
                                               [](uint8_t flag) { return flag != 0; }));
    unlockScreen(1, 0);
    return count;
  }
  // Every event in the screen's ring, oldest first (types only).
  static std::vector<int32_t> eventTypes() {
    std::vector<int32_t> types;
    gfxScreen->eventLock.acquire();
    for (int32_t i = gfxScreen->eventHead; i != gfxScreen->eventTail; i = (i + 1) & 127)
      types.push_back(gfxScreen->events[i].type);
    gfxScreen->eventLock.release();
    return types;
  }
  // Presenter threads of this process.
  static int threadCount() { return presenterThreadCount(); }
  // Writes one 32-bit colour across a framebuffer row (the lock must be held).
  static void paintRow(int32_t row, uint32_t colour) {
    auto* pixels = reinterpret_cast<uint32_t*>(screenPixels() +
                                               static_cast<size_t>(row) * gfxScreen->pitch);
    std::fill_n(pixels, gfxScreen->width, colour);
  }

  ScriptedWindowSystem system;
};

}  // namespace krgfx
