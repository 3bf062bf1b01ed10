#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <system_error>
#include <thread>

#include <krgfx/draw.h>
#include <krgfx/input.h>
#include "gfx/text/bell.h"
#include "input/key_buffer.h"
#include "support/screen_pixels.h"
#include "support/test_platform.h"
#include "support/window_layer_fixture.h"

namespace krgfx {

namespace {

WindowMessage altEnter() { return scriptedKey(MessageKind::systemKeyDown, 13, 28); }

class Presenter : public WindowLayerTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_P(Presenter, NothingDrawnShowsNothingAndLeavesTheRowsClear) {
  openOn(GetParam());
  letPresenterRun(3);
  EXPECT_TRUE(system.presentations().empty());
  EXPECT_EQ(dirtyRowCount(), 0);
}

TEST_P(Presenter, RowsTenAndTwentyArePresentedAsOneSpanAndAllFlagsCleared) {
  openOn(GetParam());
  letPresenterRun();
  lockScreen();
  lockScreen();
  paintRow(10, 0xFF112233);
  paintRow(20, 0xFF445566);
  unlockScreen(10, 10);
  unlockScreen(20, 20);
  ASSERT_TRUE(system.waitForPresentations(1));
  letPresenterRun();
  auto shown = system.presentations();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, 10);
  EXPECT_EQ(shown[0].last, 20);
  EXPECT_EQ(shown[0].pixel(0, 10) & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(shown[0].pixel(799, 20) & 0xFFFFFF, 0x445566u);
  EXPECT_EQ(shown[0].pixel(5, 15) & 0xFFFFFF, 0u);
  EXPECT_EQ(dirtyRowCount(), 0);
}

// The game marks the whole screen every frame; only rows a drawing changed
// are shown, until the program holds the pixels itself.
TEST_P(Presenter, RowsMarkedWithoutAChangeAreNotShownAgain) {
  openOn(GetParam());
  lockScreen();
  drawPixel(nullptr, 7, 20, 0xFF00FF00);
  unlockScreen(-1, -1);  // the first frame may show more than it changed
  ASSERT_TRUE(system.waitForPresentations(1));
  letPresenterRun();
  system.forgetPresentations();
  lockScreen();
  drawPixel(nullptr, 7, 30, 0xFF00FF00);
  unlockScreen(-1, -1);
  ASSERT_TRUE(system.waitForPresentations(2));
  lockScreen();
  unlockScreen(-1, -1);
  letPresenterRun(3);
  auto shown = system.presentations();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, 30);
  EXPECT_EQ(shown[0].last, 30);
  EXPECT_EQ(dirtyRowCount(), 0);
  lockScreen();
  screenPixels();
  unlockScreen(-1, -1);
  ASSERT_TRUE(system.waitForPresentations(3));
  shown = system.presentations();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].first, 0);
  EXPECT_EQ(shown[1].last, 599);
}

TEST_P(Presenter, RepeatedRowsArePresentedWhereverTheyLie) {
  setTestEnvironment("KRGFX", GetParam());
  // 100 framebuffer rows, each shown twice: a window of 200 rows.
  ASSERT_EQ(applyMode(-1, 80, 100, 32, 2, 1, 0, 3, 0, 0, 1.0f, 10, 12), 0);
  letPresenterRun();
  system.forgetPresentations();
  lockScreen();
  paintRow(90, 0xFF0000FF);
  unlockScreen(90, 90);
  ASSERT_TRUE(system.waitForPresentations(1));
  auto shown = system.presentations();
  EXPECT_EQ(shown[0].first, 180);
  EXPECT_EQ(shown[0].last, 181);
  EXPECT_EQ(shown[0].pixel(79, 181) & 0xFFFFFF, 0x0000FFu);
  // Every row dirty shows the whole window.
  lockScreen();
  unlockScreen(-1, -1);
  ASSERT_TRUE(system.waitForPresentations(2));
  shown = system.presentations();
  EXPECT_EQ(shown[1].first, 0);
  EXPECT_EQ(shown[1].last, 199);
  EXPECT_EQ(dirtyRowCount(), 0);
}

// A window system that shows its rows through another thread finishes the
// round without the lock: the program draws on while it waits.
TEST_P(Presenter, TheProgramTakesTheLockWhileTheRoundIsFinished) {
  openOn(GetParam());
  letPresenterRun();
  system.holdFinishRound(true);
  ASSERT_TRUE(system.waitUntilFinishHeld());
  auto drawing = std::async(std::launch::async, [] {
    lockScreen();
    paintRow(10, 0xFF112233);
    unlockScreen(10, 10);
  });
  bool drewWhileHeld = drawing.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  system.holdFinishRound(false);
  drawing.wait();
  EXPECT_TRUE(drewWhileHeld) << "the program waited for the round to be finished";
  ASSERT_TRUE(system.waitForPresentations(1));
  EXPECT_EQ(system.presentations()[0].pixel(0, 10) & 0xFFFFFF, 0x112233u);
}

TEST_P(Presenter, CloseScreenWhileTheProgramHoldsTheLockStillEndsThePresenter) {
  int before = threadCount();
  openOn(GetParam());
  EXPECT_EQ(threadCount(), before + 1);
  lockScreen();
  lockScreen();
  closeScreen();
  EXPECT_EQ(gfxScreen, nullptr);
  EXPECT_EQ(threadCount(), before);
  EXPECT_FALSE(system.windowOpen());
  // The lock is free again: a new screen's presenter can take it.
  openOn(GetParam());
  letPresenterRun();
}

TEST_P(Presenter, TwoOpenScreensLeaveOneWindowAndOnePresenter) {
  int before = threadCount();
  openOn(GetParam());
  openOn(GetParam());
  EXPECT_EQ(threadCount(), before + 1);
  EXPECT_EQ(system.createdWindows().size(), 2u);
  EXPECT_EQ(system.destroyCount(), 1);
  EXPECT_TRUE(system.windowOpen());
  closeScreen();
  EXPECT_EQ(threadCount(), before);
  EXPECT_EQ(system.destroyCount(), 2);
}

TEST_P(Presenter, CloseRequestQueuesTheCloseKeyAndEvent13AndKeepsTheWindow) {
  openOn(GetParam());
  while (takeKey() != 0) {
  }
  deliver(scriptedMessage(MessageKind::close));
  EXPECT_EQ(takeKey(), windowCloseKey);
  EXPECT_EQ(eventTypes(), std::vector<int32_t>{eventCloseRequest});
  EXPECT_TRUE(system.windowOpen());
  letPresenterRun();  // and the presenter goes on
}

TEST_P(Presenter, AltEnterWithNoSwitchChangesNothing) {
  openOn(GetParam(), 32, flagNoSwitch);
  deliver(altEnter());
  deliver(scriptedMessage(MessageKind::maximise));
  EXPECT_EQ(system.createdWindows().size(), 1u);
  EXPECT_FALSE(system.currentWindow().fullScreen);
  EXPECT_FALSE(system.currentWindow().canMaximise);
  EXPECT_FALSE(system.displayModeSet());
}

TEST_P(Presenter, AltEnterSwitchesToFullScreenAndBackShowingEveryRow) {
  openOn(GetParam());
  letPresenterRun();
  deliver(altEnter());
  WindowSpec full = system.currentWindow();
  EXPECT_TRUE(full.fullScreen);
  EXPECT_EQ(full.width, 800);
  EXPECT_EQ(full.height, 600);
  EXPECT_TRUE(system.displayModeSet());
  EXPECT_EQ(system.displayMode().width, 800);
  ASSERT_TRUE(system.waitForPresentations(1));
  auto shown = system.presentations();
  EXPECT_EQ(shown.back().first, 0);
  EXPECT_EQ(shown.back().last, 599);
  EXPECT_EQ(shown.back().pixel(400, 300) & 0xFFFFFF, 0u);

  deliver(altEnter());
  EXPECT_FALSE(system.currentWindow().fullScreen);
  EXPECT_FALSE(system.displayModeSet());
  EXPECT_EQ(system.createdWindows().size(), 3u);
}

TEST_P(Presenter, AFailingFullScreenWindowFallsBackToTheWindow) {
  openOn(GetParam());
  system.failWindows(false, true);
  deliver(altEnter());
  auto created = system.createdWindows();
  ASSERT_EQ(created.size(), 2u);
  EXPECT_FALSE(created[1].fullScreen);
  EXPECT_TRUE(system.windowOpen());
  EXPECT_FALSE(system.displayModeSet());
  lockScreen();
  EXPECT_EQ(windowLayer.flags & flagFullScreen, 0);
  EXPECT_EQ(windowLayer.windowActive, 1);
  unlockScreen(1, 0);
  ASSERT_TRUE(system.waitForPresentations(1));  // every row shown again
  EXPECT_EQ(system.presentations().back().last, 599);
}

TEST_P(Presenter, AltEnterInAnInactiveWindowDoesNotSwitch) {
  openOn(GetParam());
  deliver(scriptedActivation(false));
  deliver(altEnter());
  EXPECT_EQ(system.createdWindows().size(), 1u);
}

TEST_P(Presenter, ActivationPostsFocusEventsAndShowsEveryRowAgain) {
  openOn(GetParam());
  letPresenterRun();
  deliver(scriptedActivation(false));
  lockScreen();
  EXPECT_EQ(windowLayer.windowActive, 0);
  unlockScreen(1, 0);
  deliver(scriptedActivation(true, true));  // minimised while still active: no event
  deliver(scriptedActivation(true));
  lockScreen();
  EXPECT_EQ(windowLayer.windowActive, 1);
  unlockScreen(1, 0);
  EXPECT_EQ(eventTypes(), (std::vector<int32_t>{eventFocusLost, eventFocusGained}));
  ASSERT_TRUE(system.waitForPresentations(1));
  EXPECT_EQ(system.presentations().front().first, 0);
  EXPECT_EQ(system.presentations().front().last, 599);
}

TEST_P(Presenter, AWindowDestroyedFromOutsideStopsThePresenterAndSendsTheCloseKey) {
  int before = threadCount();
  openOn(GetParam());
  while (takeKey() != 0) {
  }
  system.inject(scriptedMessage(MessageKind::destroyed));
  for (int i = 0; i < 500 && threadCount() != before; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(threadCount(), before);
  EXPECT_EQ(takeKey(), windowCloseKey);
  // Later driver calls do nothing, drawing still works.
  gfxScreen->driver->setTitle("after");
  EXPECT_NE(system.title(), "after");
  EXPECT_EQ(gfxScreen->driver->moveWindow(INT32_MIN, INT32_MIN), 0);
  EXPECT_TRUE(gfxScreen->driver->listModes(32).empty());
  lockScreen();
  paintRow(0, 0xFFFFFFFF);
  unlockScreen(-1, -1);
  closeScreen();
  EXPECT_EQ(gfxScreen, nullptr);
}

TEST_P(Presenter, WindowCarriesTheClassNameTitleAndSettings) {
  openOn(GetParam(), 32, flagTopmost | flagNoFrame);
  WindowSpec windowSpec = system.currentWindow();
  ASSERT_EQ(windowSpec.className.size(), 19u);
  EXPECT_EQ(windowSpec.className.rfind("krgfxclass_", 0), 0u);
  EXPECT_EQ(windowSpec.className.find_first_not_of("0123456789abcdef", 11), std::string::npos);
  EXPECT_EQ(windowSpec.title, "krgfx_thread_tests");
  EXPECT_TRUE(windowSpec.topmost);
  EXPECT_TRUE(windowSpec.frameless);
  EXPECT_EQ(windowSpec.width, 800);
  EXPECT_EQ(windowSpec.height, 600);
  EXPECT_EQ(windowSpec.x, (1024 - 800) / 2);  // centred on the scripted 1024x768 screen
  EXPECT_TRUE(system.screenSaverSuspended());
  closeScreen();
  EXPECT_FALSE(system.screenSaverSuspended());
}

TEST_P(Presenter, TitleMoveAndModesReachTheWindowSystem) {
  openOn(GetParam());
  const DisplayDriver& driver = *gfxScreen->driver;
  driver.setTitle("Nowy tytul");
  EXPECT_EQ(system.title(), "Nowy tytul");
  EXPECT_EQ(driver.moveWindow(30, 40), 0);
  EXPECT_EQ(driver.moveWindow(INT32_MIN, INT32_MIN), 40 << 16 | 30);
  system.setDisplayModes({{1024, 768, 60}, {640, 480, 60}, {640, 480, 75}});
  EXPECT_EQ(driver.listModes(16), (std::vector<int32_t>{640 << 16 | 480, 1024 << 16 | 768}));
  EXPECT_TRUE(driver.listModes(12).empty());
}

TEST_P(Presenter, AnEightBitScreenIsShownInItsPaletteColours) {
  GfxScreen& screen = openOn(GetParam(), 8);
  ASSERT_TRUE(system.waitForPresentations(1));  // the palette reset shows every row
  letPresenterRun();
  lockScreen();
  screenPixels()[5 * screen.pitch + 7] = 4;  // red in the VGA palette
  unlockScreen(5, 5);
  ASSERT_TRUE(system.waitForPresentations(2));
  auto shown = system.presentations();
  EXPECT_EQ(shown.back().first, 5);
  EXPECT_EQ(shown.back().pixel(7, 5) & 0xFFFFFF, 0xAA0000u);
  EXPECT_EQ(shown.back().pixel(8, 5) & 0xFFFFFF, 0u);
}

// A window that cannot show the rows is not left black in silence.
TEST_P(Presenter, AFailedPresentationStopsThePresenterAndSendsTheCloseKey) {
  int before = threadCount();
  openOn(GetParam());
  while (takeKey() != 0) {
  }
  system.failPresentations(true);
  lockScreen();
  paintRow(5, 0xFFFFFFFF);
  unlockScreen(5, 5);
  for (int i = 0; i < 500 && threadCount() != before; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(threadCount(), before);
  EXPECT_EQ(takeKey(), windowCloseKey);
}

TEST_P(Presenter, ASixteenBitDisplayGetsConvertedRows) {
  system.setDisplayFormat({16, 0});
  openOn(GetParam());
  lockScreen();
  paintRow(3, 0xFFFF8040);
  unlockScreen(3, 3);
  ASSERT_TRUE(system.waitForPresentations(1));
  auto shown = system.presentations();
  EXPECT_EQ(shown[0].bytesPerPixel, 2);
  EXPECT_EQ(shown[0].pixel(100, 3), 0xFC08u);
}

TEST_P(Presenter, BelRingsTheWindowsBellWhileTheWindowIsUp) {
  openOn(GetParam());
  lockScreen();
  ringBell();
  unlockScreen(1, 0);
  EXPECT_EQ(system.bellCount(), 1);
  closeScreen();
  EXPECT_EQ(platformBell.load(), &terminalBell);
}

INSTANTIATE_TEST_SUITE_P(BothWindowDrivers, Presenter, ::testing::Values("DirectX", "GDI"),
                         [](const auto& info) { return std::string(info.param); });

using DirectXPresenter = WindowLayerTest;
using GdiPresenter = WindowLayerTest;

TEST_F(DirectXPresenter, ConvertsIntoTheSurfaceAndShowsFromThere) {
  openOn("DirectX");
  EXPECT_EQ(lastScriptedPath(), PresentPath::sharedSurface);
  lockScreen();
  paintRow(0, 0xFF010203);
  unlockScreen(0, 0);
  ASSERT_TRUE(system.waitForPresentations(1));
  EXPECT_TRUE(system.presentations()[0].fromSurface);
}

TEST_F(DirectXPresenter, ALostSurfaceKeepsTheRowsUntilItIsBack) {
  openOn("DirectX");
  system.setSurfaceAvailable(false);
  lockScreen();
  paintRow(7, 0xFF0000FF);
  unlockScreen(7, 7);
  letPresenterRun(3);
  EXPECT_TRUE(system.presentations().empty());
  EXPECT_EQ(dirtyRowCount(), 1);
  system.setSurfaceAvailable(true);
  ASSERT_TRUE(system.waitForPresentations(1));
  EXPECT_EQ(system.presentations()[0].first, 7);
}

TEST_F(DirectXPresenter, FullScreenTakesTheNextTallerModeAndCentresThePicture) {
  system.setDisplayModes({{800, 768, 60}, {1024, 768, 60}});
  openOn("DirectX", 32, flagFullScreen);
  EXPECT_EQ(system.displayMode().height, 768);
  EXPECT_EQ(system.currentWindow().height, 768);
  lockScreen();
  paintRow(0, 0xFF00FF00);
  unlockScreen(0, 0);
  ASSERT_TRUE(system.waitForPresentations(1));
  auto shown = system.presentations();
  EXPECT_EQ(shown[0].first, 84);
  EXPECT_EQ(shown[0].pixel(0, 84) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(DirectXPresenter, AFullScreenModeChangedFromOutsideIsTakenAgain) {
  openOn("DirectX", 32, flagFullScreen);
  letPresenterRun();
  system.loseDisplayMode();
  lockScreen();
  paintRow(9, 0xFF123456);
  unlockScreen(9, 9);
  ASSERT_TRUE(system.waitForPresentations(1));
  EXPECT_EQ(system.createdWindows().size(), 2u);
  EXPECT_TRUE(system.displayModeSet());
  EXPECT_TRUE(system.currentWindow().fullScreen);
  auto shown = system.presentations();
  EXPECT_EQ(shown.back().first, 0);  // every row again in the new window
  EXPECT_EQ(shown.back().pixel(0, 9) & 0xFFFFFF, 0x123456u);
}

TEST_F(DirectXPresenter, AnInactiveFullScreenShowsNothing) {
  openOn("DirectX", 32, flagFullScreen);
  deliver(scriptedActivation(false));
  system.forgetPresentations();
  lockScreen();
  paintRow(1, 0xFFFFFFFF);
  unlockScreen(1, 1);
  letPresenterRun(3);
  EXPECT_TRUE(system.presentations().empty());
}

TEST_F(DirectXPresenter, WaitRetraceWaitsOnTheWindowSystem) {
  openOn("DirectX");
  gfxScreen->driver->waitRetrace();
  EXPECT_EQ(system.retraceWaits(), 1);
  letPresenterRun();
}

TEST_F(DirectXPresenter, RefusesColourKeyedAndOpenGlRequests) {
  setTestEnvironment("KRGFX", "DirectX");
  EXPECT_EQ(directXDriver.init("t", 800, 600, 32, 0, flagColourKeyed), -1);
  directXDriver.exit();
  EXPECT_EQ(directXDriver.init("t", 800, 600, 32, 0, flagOpenGl), -1);
  directXDriver.exit();
  EXPECT_TRUE(system.createdWindows().empty());
}

TEST_F(GdiPresenter, ShowsStraightFromTheFramebufferWhenTheFormatsAgree) {
  openOn("GDI");
  EXPECT_EQ(lastScriptedPath(), PresentPath::clientPixels);
  lockScreen();
  paintRow(2, 0xFF0A0B0C);
  unlockScreen(2, 2);
  ASSERT_TRUE(system.waitForPresentations(1));
  EXPECT_FALSE(system.presentations()[0].fromSurface);
  EXPECT_EQ(system.presentations()[0].pixel(0, 2), 0xFF0A0B0Cu);
}

TEST_F(GdiPresenter, FullScreenWithoutAModeOfExactlyTheScreensSizeKeepsTheDesktopsMode) {
  system.setDisplayModes({{800, 768, 60}});
  setTestEnvironment("KRGFX", "GDI");
  EXPECT_EQ(openScreen(800, 600, 32, 1, flagFullScreen, 0), 0);
  // The taller mode is not GDI's: the 1024x768 desktop is covered instead.
  EXPECT_STREQ(gfxScreen->driver->name, "GDI");
  EXPECT_TRUE(system.currentWindow().fullScreen);
  EXPECT_FALSE(system.displayModeSet());
  EXPECT_EQ(system.currentWindow().width, 1024);
  EXPECT_EQ(system.currentWindow().picture.left, 112);
  EXPECT_EQ(system.currentWindow().picture.top, 84);
}

TEST_F(GdiPresenter, NoWindowSystemMeansNoWindowDriver) {
  restoreWindowSystemProvider();
  WindowSystemProvider saved = windowSystemProvider;
  windowSystemProvider = {[](PresentPath) -> WindowSystem* { return nullptr; },
                          [](WindowSystem*) {}, nullptr};
  setTestEnvironment("KRGFX", nullptr);
  int before = threadCount();
  EXPECT_EQ(openScreen(800, 600, 32, 1, 0, 0), errBadCall);
  EXPECT_EQ(gfxScreen, nullptr);
  EXPECT_EQ(threadCount(), before);
  windowSystemProvider = saved;
}

TEST_F(GdiPresenter, APresenterThreadThatCannotStartFailsTheWindowDrivers) {
  windowSystemProvider.startThread = [](std::thread&, void (*)()) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  };
  int before = threadCount();
  EXPECT_EQ(gdiDriver.init("t", 800, 600, 32, 0, 0), -1);
  gdiDriver.exit();
  setTestEnvironment("KRGFX", nullptr);
  EXPECT_EQ(openScreen(800, 600, 32, 1, 0, 0), errBadCall);
  EXPECT_EQ(gfxScreen, nullptr);
  EXPECT_EQ(threadCount(), before);
  EXPECT_TRUE(system.createdWindows().empty());
}

TEST_F(GdiPresenter, OpenGlRefusesEveryRequest) {
  EXPECT_EQ(openGlDriver.init("t", 800, 600, 32, 0, 0), -1);
  openGlDriver.exit();
  EXPECT_EQ(openGlDriver.init("t", 800, 600, 32, 0, flagOpenGl), -1);
  openGlDriver.exit();
  EXPECT_TRUE(system.createdWindows().empty());
}

}  // namespace krgfx
