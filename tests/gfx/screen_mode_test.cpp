#include <gtest/gtest.h>

#include <cstring>

#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/text/text_view.h"
#include "runtime/runtime_state.h"
#include "support/screen_fixture.h"

namespace krgfx {

using ScreenMode = ScreenTest;

TEST_F(ScreenMode, GameModeGivesA32BitScreenOfOpaqueBlack) {
  GfxScreen& screen = openNullScreen();
  EXPECT_EQ(screen.depth, 32);
  EXPECT_EQ(screen.bytesPerPixel, 4);
  EXPECT_EQ(screen.pageCount, 1);
  EXPECT_EQ(screen.pitch, 3200);
  EXPECT_EQ(screen.colorMask, 0xFFFFFFFFu);
  EXPECT_EQ(screen.textCols, 100);
  EXPECT_EQ(screen.textRows, 75);
  EXPECT_EQ(screen.scanlineSize, 1);
  EXPECT_EQ(screen.visibleFramebuffer, screen.pages[0]);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(screen.pages[0]) % 16, 0u);
  auto* pixels = reinterpret_cast<const uint32_t*>(screen.pages[0]);
  for (int i = 0; i < 800 * 600; ++i) ASSERT_EQ(pixels[i], 0xFF000000u) << i;
  EXPECT_EQ(currentContext().foreColor, 0xFFFFFFFFu);
  EXPECT_EQ(currentContext().backColor, 0xFF000000u);
  EXPECT_EQ(screen.textCells[0][0].character, 32u);
  EXPECT_EQ(screen.textCells[0][7499].backColor, 0xFF000000u);
  EXPECT_EQ(viewTop, 0);
  EXPECT_EQ(viewBottom, 74);
  EXPECT_EQ(runtimeState.fileTable[0].printWidth, 100);
  EXPECT_EQ(runtimeState.endHook, closeScreen);
  EXPECT_NE(runtimeState.hooks.outputRedirected, nullptr);
}

TEST_F(ScreenMode, DepthsNormaliseAndUnknownDepthsFail) {
  EXPECT_EQ(openNullScreen(64, 64, 24).depth, 32);
  EXPECT_EQ(openNullScreen(64, 64, 15).depth, 16);
  EXPECT_EQ(gfxScreen->colorMask, 0xFFFFu);
  EXPECT_EQ(gfxScreen->pitch, 128);
  EXPECT_EQ(openNullScreen(64, 64, 4).colorMask, 15u);
  EXPECT_EQ(currentContext().foreColor, 15u);
  EXPECT_EQ(currentContext().backColor, 0u);
  closeScreen();
  for (int depth : {3, 5, 9, 0, -8, 64}) {
    EXPECT_EQ(openScreen(64, 64, depth, 1, flagNoDisplay, 0), errBadCall) << depth;
    EXPECT_EQ(runtimeError(), errBadCall);
  }
  EXPECT_EQ(openScreen(0, 64, 32, 1, flagNoDisplay, 0), errBadCall);
  EXPECT_EQ(openScreen(64, -1, 32, 1, flagNoDisplay, 0), errBadCall);
  EXPECT_EQ(gfxScreen, nullptr);
}

TEST_F(ScreenMode, PageCountsBelowOneGiveOnePage) {
  EXPECT_EQ(openNullScreen(64, 64, 32, 0).pageCount, 1);
  EXPECT_EQ(openNullScreen(64, 64, 32, -5).pageCount, 1);
  EXPECT_EQ(openNullScreen(64, 64, 32, 3).pageCount, 3);
  auto* lastPage = reinterpret_cast<const uint32_t*>(gfxScreen->pages[2]);
  EXPECT_EQ(lastPage[64 * 64 - 1], 0xFF000000u);
}

TEST_F(ScreenMode, BadArgumentsLeaveAnOpenScreenOpen) {
  GfxScreen* screen = &openNullScreen();
  int32_t serial = screen->serial;
  EXPECT_EQ(openScreen(-3, 600, 32, 1, flagNoDisplay, 0), errBadCall);
  EXPECT_EQ(gfxScreen, screen);
  EXPECT_EQ(gfxScreen->serial, serial);
}

TEST_F(ScreenMode, SecondOpenReplacesTheFirstCompletely) {
  openRecordedScreen();
  int32_t firstSerial = gfxScreen->serial;
  EXPECT_EQ(openScreen(320, 200, 32, 1, 0, 0), 0);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI.exit").size(), 1u);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI.init").size(), 1u);
  EXPECT_EQ(gfxScreen->serial, firstSerial + 1);
  EXPECT_EQ(gfxScreen->width, 320);
  DrawContext& context = currentContext();
  EXPECT_EQ(context.serial, gfxScreen->serial);
  EXPECT_EQ(context.workPage, 0);
  EXPECT_EQ(context.viewRect.width, 320);
  EXPECT_EQ(context.viewRect.height, 200);
}

TEST_F(ScreenMode, FailedOpenLeavesNoScreenAndNoHooks) {
  openRecordedScreen();
  testing_drivers::succeedingDriver = -1;
  EXPECT_EQ(openScreen(800, 600, 32, 1, 0, 0), errBadCall);
  EXPECT_EQ(gfxScreen, nullptr);
  EXPECT_EQ(runtimeState.hooks.outputRedirected, nullptr);
  EXPECT_EQ(viewTop, -1);
  lockScreen();  // with no screen these do nothing
  unlockScreen(-1, -1);
}

TEST_F(ScreenMode, ModeTooLargeFailsCleanly) {
  EXPECT_EQ(openScreen(100000, 100000, 32, 1, flagNoDisplay, 0), errNoMemory);
  EXPECT_EQ(gfxScreen, nullptr);
  EXPECT_EQ(openScreen(INT32_MAX, 8, 32, 1, flagNoDisplay, 0), errNoMemory);
  EXPECT_EQ(gfxScreen, nullptr);
  // With a 32-bit size_t (i686, WebAssembly) a page of exactly 4 GiB would
  // wrap to an allocation of nothing.
  if (sizeof(size_t) == 4) {
    EXPECT_EQ(openScreen(32768, 32768, 32, 1, flagNoDisplay, 0), errNoMemory);
    EXPECT_EQ(gfxScreen, nullptr);
  }
  EXPECT_EQ(runtimeState.hooks.outputRedirected, nullptr);
  EXPECT_EQ(openScreen(8, 8, 32, 1, flagNoDisplay, 0), 0);
}

TEST_F(ScreenMode, ApplyModeStoresItsResultAndFillsEveryHook) {
  setRuntimeError(0);
  EXPECT_EQ(applyMode(-1, 64, 64, 32, 0, 1, 0, 3, 0, flagNoDisplay, 1.0f, 8, 8), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(applyMode(-1, 64, 64, 7, 1, 1, 0, 3, 0, flagNoDisplay, 1.0f, 8, 8), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(applyMode(-1, INT32_MAX, 8, 32, 1, 1, 0, 3, 0, flagNoDisplay, 1.0f, 8, 8), errNoMemory);
  EXPECT_EQ(runtimeError(), errNoMemory);
  EXPECT_EQ(applyMode(-1, 64, 64, 32, 1, 1, 0, 3, 0, flagNoDisplay, 1.0f, 8, 8), 0);
  EXPECT_EQ(runtimeError(), 0);
  // All 27 slots, the port emulation among them.
  using Slot = void (*)();
  static_assert(sizeof(ConsoleHooks) == 27 * sizeof(Slot));
  Slot slots[27];
  std::memcpy(slots, &runtimeState.hooks, sizeof slots);
  for (int slot = 0; slot < 27; ++slot) EXPECT_NE(slots[slot], nullptr) << "slot " << slot;
  runtimeState.hooks.portOut(0x3C8, 1);
  EXPECT_EQ(runtimeState.hooks.portIn(0x3DA), 0);
}

TEST_F(ScreenMode, EightBitModeShowsTheDefaultPalette) {
  GfxScreen& screen = openRecordedScreen(8);
  EXPECT_EQ(screen.devicePalette[6], 0x0055AAu);
  EXPECT_EQ(screen.devicePalette[31], 0xFFFFFFu);
  EXPECT_EQ(screen.palette[16], 0u);
  EXPECT_EQ(screen.dirtyLines[599], 1);
  closeScreen();
  testing_drivers::calls.clear();
  openScreen(640, 480, 8, 1, 0, 0);
  auto entries = testing_drivers::callsStartingWith("GDI.palette");
  ASSERT_EQ(entries.size(), 256u);
  EXPECT_EQ(entries[6], "GDI.palette(6,170,85,0)");
}

TEST_F(ScreenMode, LowDepthsShowOnlyTheirColours) {
  GfxScreen& screen = openRecordedScreen(2);
  EXPECT_EQ(screen.colorMask, 3u);
  EXPECT_EQ(screen.devicePalette[3], 0xAAAA00u);  // colour 3 of the 256-colour table
  EXPECT_EQ(screen.devicePalette[4], 0u);
  EXPECT_EQ(screen.palette[4], 0x0000AAu);
}

TEST_F(ScreenMode, CloseScreenClearsEverything) {
  openNullScreen();
  closeScreen();
  EXPECT_EQ(gfxScreen, nullptr);
  EXPECT_EQ(blitterWorkTable, nullptr);
  EXPECT_EQ(runtimeState.hooks.viewChanged, nullptr);
  closeScreen();  // a second close finds nothing to do
  EXPECT_EQ(runtimeState.endHook, closeScreen);
}

TEST_F(ScreenMode, TitleComesFromTheProgramName) {
  openNullScreen();
  EXPECT_STREQ(windowTitle, "krgfx_tests");
}

}  // namespace krgfx
