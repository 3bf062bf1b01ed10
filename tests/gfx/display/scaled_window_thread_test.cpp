// The picture at a display scale, and full screen at the desktop's own mode,
// through the real window drivers and presenter over the scripted system.
#include <gtest/gtest.h>

#include <krgfx/input.h>
#include "support/screen_pixels.h"
#include "support/test_platform.h"
#include "support/window_layer_fixture.h"

namespace krgfx {

namespace {

WindowMessage altEnter() { return scriptedKey(MessageKind::systemKeyDown, 13, 28); }

uint32_t patternAt(int32_t x, int32_t y) { return 0xFF000000u | (x * 2654435761u ^ y) >> 8; }

class ScaledWindow : public WindowLayerTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void TearDown() override {
    WindowLayerTest::TearDown();
    setTestEnvironment("KRGFX_FULLSCREEN", nullptr);
    setTestEnvironment("KRGFX_SCALE", nullptr);
    setDisplayScale(0);
  }
  // The pointer at a client position, and the window told.
  void moveTo(int32_t x, int32_t y) {
    WindowRect client = system.clientRectOnScreen();
    system.setPointer(client.left + x, client.top + y);
    WindowMessage message = scriptedMessage(MessageKind::mouseMove);
    message.x = x, message.y = y;
    deliver(message);
  }
  static void paintPattern(int32_t row) {
    lockScreen();
    auto* pixels = reinterpret_cast<uint32_t*>(screenPixels() +
                                               static_cast<size_t>(row) * gfxScreen->pitch);
    for (int32_t x = 0; x < gfxScreen->width; ++x) pixels[x] = patternAt(x, row);
    unlockScreen(row, row);
  }
  // The last presentation shows framebuffer row `row` as `scale` client rows
  // from `top`, each pixel `scale` wide from `left`.
  void expectShown(int32_t row, int32_t left, int32_t top, int32_t scale) {
    letPresenterRun(3);
    auto all = system.presentations();
    ASSERT_FALSE(all.empty());
    auto shown = all.back();
    ASSERT_LE(shown.first, top + row * scale);
    ASSERT_GE(shown.last, top + (row + 1) * scale - 1);
    for (int32_t line = 0; line < scale; ++line)
      for (int32_t x = 0; x < gfxScreen->width * scale; ++x)
        ASSERT_EQ(shown.pixel(left + x, top + row * scale + line) & 0xFFFFFF,
                  patternAt(x / scale, row) & 0xFFFFFF)
            << "client " << left + x << ", " << top + row * scale + line;
  }
  int32_t read(int32_t* x, int32_t* y) { return readMouse(x, y, nullptr, nullptr, nullptr); }
};

}  // namespace

TEST_P(ScaledWindow, ADoubleDpiDesktopGetsATwiceAsLargeWindowOfSquarePixels) {
  system.setScreenSize(1920, 1200);
  system.setDesktopDpi(192);
  openOn(GetParam());
  letPresenterRun();
  WindowSpec window = system.currentWindow();
  EXPECT_EQ(window.width, 1600);
  EXPECT_EQ(window.height, 1200);
  paintPattern(10);
  expectShown(10, 0, 0, 2);

  int32_t x = 0, y = 0;
  moveTo(301, 201);
  ASSERT_EQ(read(&x, &y), 0);
  EXPECT_EQ(x, 150);
  EXPECT_EQ(y, 100);
  moveTo(1599, 1199);
  ASSERT_EQ(read(&x, &y), 0);
  EXPECT_EQ(x, 799);
  EXPECT_EQ(y, 599);
  EXPECT_EQ(placeMouse(10, 20, -1, -1), 0);
  WindowRect client = system.clientRectOnScreen();
  EXPECT_EQ(system.pointerX(), client.left + 21);  // the middle of the pixel's square
  EXPECT_EQ(system.pointerY(), client.top + 41);
  ASSERT_EQ(read(&x, &y), 0);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
}

TEST_P(ScaledWindow, AnOrdinaryDesktopKeepsOneToOneAndASmallOneShrinksTheScale) {
  system.setDesktopDpi(96);
  openOn(GetParam());
  EXPECT_EQ(system.currentWindow().width, 800);
  closeScreen();
  system.setDesktopDpi(192);  // 1600x1200 does not fit 1024x768
  openOn(GetParam());
  EXPECT_EQ(system.currentWindow().width, 800);
  paintPattern(3);
  expectShown(3, 0, 0, 1);
}

TEST_P(ScaledWindow, TheProgramsScaleTakesEffectAtTheNextModeUnlessTheVariableSaysOtherwise) {
  system.setScreenSize(1920, 1080);
  ASSERT_EQ(setDisplayScale(3), 0);
  setTestEnvironment("KRGFX", GetParam());
  ASSERT_EQ(openScreen(320, 200, 8, 1, 0, 0), 0);
  EXPECT_EQ(system.currentWindow().width, 960);
  EXPECT_EQ(system.currentWindow().height, 600);
  setTestEnvironment("KRGFX_SCALE", "2");
  ASSERT_EQ(openScreen(320, 200, 8, 1, 0, 0), 0);
  EXPECT_EQ(system.currentWindow().width, 640);
  setTestEnvironment("KRGFX_SCALE", "0");  // not a scale: as if unset
  ASSERT_EQ(openScreen(320, 200, 8, 1, 0, 0), 0);
  EXPECT_EQ(system.currentWindow().width, 960);
}

TEST_P(ScaledWindow, FullScreenWithoutAFittingModeCoversTheDesktopCentredOnBlack) {
  system.setScreenSize(1920, 1080);
  system.setDisplayModes({{1920, 1080, 60}});
  openOn(GetParam());
  letPresenterRun();
  deliver(altEnter());
  WindowSpec full = system.currentWindow();
  EXPECT_TRUE(full.fullScreen);
  EXPECT_FALSE(system.displayModeSet());
  EXPECT_EQ(full.width, 1920);
  EXPECT_EQ(full.height, 1080);
  EXPECT_EQ(full.picture.left, 560);
  EXPECT_EQ(full.picture.top, 240);
  EXPECT_EQ(full.picture.right, 1360);
  EXPECT_EQ(full.picture.bottom, 840);
  paintPattern(0);
  expectShown(0, 560, 240, 1);
  EXPECT_EQ(system.presentations().back().pixel(559, 240) & 0xFFFFFF, 0u);  // the border

  int32_t x = 0, y = 0;
  moveTo(565, 247);
  ASSERT_EQ(read(&x, &y), 0);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 7);
  moveTo(559, 300);  // over the border: outside
  EXPECT_EQ(read(&x, &y), 1);
  EXPECT_EQ(placeMouse(0, 599, -1, -1), 0);
  EXPECT_EQ(system.pointerX(), 560);
  EXPECT_EQ(system.pointerY(), 839);

  deliver(altEnter());
  EXPECT_FALSE(system.currentWindow().fullScreen);
  EXPECT_EQ(system.currentWindow().width, 800);
}

TEST_P(ScaledWindow, TheDesktopSettingNeverChangesTheMode) {
  system.setScreenSize(1920, 1200);
  system.setDesktopDpi(192);
  setTestEnvironment("KRGFX_FULLSCREEN", "desktop");
  openOn(GetParam());
  letPresenterRun();
  deliver(altEnter());
  EXPECT_FALSE(system.displayModeSet());
  WindowSpec full = system.currentWindow();
  EXPECT_TRUE(full.fullScreen);
  EXPECT_EQ(full.picture.left, 160);
  EXPECT_EQ(full.picture.right, 1760);
  paintPattern(599);
  expectShown(599, 160, 0, 2);
  deliver(altEnter());  // back to the window, at its scale
  EXPECT_EQ(system.currentWindow().width, 1600);
}

TEST_P(ScaledWindow, AWindowMovedToAMonitorOfAnotherDpiIsMadeAgainAtItsScale) {
  system.setScreenSize(1920, 1200);
  system.setDesktopDpi(96);
  openOn(GetParam());
  letPresenterRun();
  EXPECT_EQ(system.currentWindow().width, 800);
  system.setDesktopDpi(192);
  deliver(scriptedMessage(MessageKind::dpiChanged));
  EXPECT_EQ(system.currentWindow().width, 1600);
  EXPECT_TRUE(system.windowOpen());
  paintPattern(5);
  expectShown(5, 0, 0, 2);
}

INSTANTIATE_TEST_SUITE_P(Drivers, ScaledWindow, ::testing::Values("GDI", "DirectX"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace krgfx
