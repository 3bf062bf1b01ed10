#include "gfx/display/display_scale.h"

#include <gtest/gtest.h>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/screen.h"
#include "support/test_platform.h"

namespace krgfx {

namespace {

class DisplayScale : public ::testing::Test {
 protected:
  void SetUp() override { setTestEnvironment("KRGFX_SCALE", nullptr); }
  void TearDown() override {
    setTestEnvironment("KRGFX_SCALE", nullptr);
    setTestEnvironment("KRGFX_FULLSCREEN", nullptr);
    setDisplayScale(0);
  }
};

}  // namespace

TEST_F(DisplayScale, SettingsOneToEightOrAutoAndNothingElse) {
  EXPECT_EQ(parseDisplayScale("1"), 1);
  EXPECT_EQ(parseDisplayScale("8"), 8);
  EXPECT_EQ(parseDisplayScale("auto"), 0);
  EXPECT_EQ(parseDisplayScale("AUTO"), 0);
  for (const char* bad : {"0", "9", "12", "-2", "2x", " 2", "", "autox", "two"})
    EXPECT_EQ(parseDisplayScale(bad), -1) << bad;
  EXPECT_EQ(parseDisplayScale(nullptr), -1);
}

TEST_F(DisplayScale, TheDesktopsDpiFromItsResourceDatabase) {
  EXPECT_EQ(dpiFromResources("Xft.dpi:\t192\n"), 192);
  EXPECT_EQ(dpiFromResources("Xcursor.size: 48\nXft.dpi: 144.4\nXft.hinting: 1\n"), 144);
  EXPECT_EQ(dpiFromResources("Xft.antialias: 1\n"), 0);
  EXPECT_EQ(dpiFromResources("Xft.dpi: lots\n"), 0);
  EXPECT_EQ(dpiFromResources("Xft.dpi: -96\n"), 0);
  EXPECT_EQ(dpiFromResources("Xft.dpi: 1e300\n"), 0);
  EXPECT_EQ(dpiFromResources("Xft.dpi:"), 0);
  EXPECT_EQ(dpiFromResources(nullptr), 0);
  // A value that is not at the start of a line is some other resource's.
  EXPECT_EQ(dpiFromResources("MyXft.dpi: 192\n"), 0);
}

TEST_F(DisplayScale, DpiRoundsToTheNearestWholeScale) {
  EXPECT_EQ(scaleForDpi(0), 1);
  EXPECT_EQ(scaleForDpi(96), 1);
  EXPECT_EQ(scaleForDpi(120), 1);  // 125 %
  EXPECT_EQ(scaleForDpi(144), 2);  // 150 % rounds up
  EXPECT_EQ(scaleForDpi(192), 2);
  EXPECT_EQ(scaleForDpi(288), 3);
  EXPECT_EQ(scaleForDpi(5000), 8);
}

TEST_F(DisplayScale, TheWindowShrinksUntilItFitsTheWorkArea) {
  WindowRect fourK{0, 0, 3840, 2160}, panelLess{0, 30, 1920, 1200};
  EXPECT_EQ(windowScale(0, 192, 800, 600, fourK), 2);
  EXPECT_EQ(windowScale(0, 384, 800, 600, fourK), 3);
  EXPECT_EQ(windowScale(0, 192, 800, 600, panelLess), 1);  // 1200 rows do not fit 1170
  EXPECT_EQ(windowScale(3, 96, 320, 200, {0, 0, 1920, 1080}), 3);
  EXPECT_EQ(windowScale(8, 96, 320, 200, {0, 0, 1920, 1080}), 5);
  EXPECT_EQ(windowScale(2, 96, 4000, 3000, fourK), 1);  // never below one to one
}

TEST_F(DisplayScale, ThePicturesPlaceOnAFullScreen) {
  PicturePlacement picture = desktopPicture(800, 600, {0, 0, 1920, 1080});
  EXPECT_EQ(picture.scale, 1);
  EXPECT_EQ(picture.x, 560);
  EXPECT_EQ(picture.y, 240);
  picture = desktopPicture(800, 600, {0, 0, 3840, 2160});
  EXPECT_EQ(picture.scale, 3);
  EXPECT_EQ(picture.x, 720);
  EXPECT_EQ(picture.y, 180);
  picture = desktopPicture(320, 200, {0, 0, 1920, 1200});
  EXPECT_EQ(picture.scale, 6);
  EXPECT_EQ(picture.x, 0);
  EXPECT_EQ(picture.y, 0);
  EXPECT_EQ(desktopPicture(800, 600, {0, 0, 640, 480}).scale, 0);
}

TEST_F(DisplayScale, TheVariableWinsOverTheProgramsRequest) {
  EXPECT_EQ(requestedDisplayScale(), 0);
  EXPECT_EQ(setDisplayScale(3), 0);
  EXPECT_EQ(requestedDisplayScale(), 3);
  setTestEnvironment("KRGFX_SCALE", "2");
  EXPECT_EQ(requestedDisplayScale(), 2);
  setTestEnvironment("KRGFX_SCALE", "auto");
  EXPECT_EQ(requestedDisplayScale(), 0);
  setTestEnvironment("KRGFX_SCALE", "huge");  // ignored as if unset
  EXPECT_EQ(requestedDisplayScale(), 3);
  EXPECT_EQ(setDisplayScale(9), errBadCall);
  EXPECT_EQ(setDisplayScale(-1), errBadCall);
  EXPECT_EQ(requestedDisplayScale(), 3);
}

TEST_F(DisplayScale, FullScreenKeepsTheDesktopsModeOnlyWhenAsked) {
  EXPECT_FALSE(desktopFullScreenWanted());
  setTestEnvironment("KRGFX_FULLSCREEN", "Desktop");
  EXPECT_TRUE(desktopFullScreenWanted());
  setTestEnvironment("KRGFX_FULLSCREEN", "mode");
  EXPECT_FALSE(desktopFullScreenWanted());
}

// A compositor's fractional scale: the picture at the whole scale below it,
// the surface as long as makes each buffer pixel one display pixel.
TEST_F(DisplayScale, FractionalScalesGiveWholePictureScalesAndLogicalSizes) {
  EXPECT_EQ(wholeScaleWithin(120), 1);
  EXPECT_EQ(wholeScaleWithin(150), 1);  // 1.25
  EXPECT_EQ(wholeScaleWithin(180), 1);  // 1.5: not rounded up to 2
  EXPECT_EQ(wholeScaleWithin(239), 1);
  EXPECT_EQ(wholeScaleWithin(240), 2);
  EXPECT_EQ(wholeScaleWithin(300), 2);  // 2.5
  EXPECT_EQ(wholeScaleWithin(90), 1);   // below one: pictures still one to one
  EXPECT_EQ(wholeScaleWithin(0), 1);
  EXPECT_EQ(wholeScaleWithin(120 * 20), 8);
  // 800x600 at 1.5: 533.33 rounds to 533 units, 400 exactly.
  EXPECT_EQ(logicalLength(800, 180), 533);
  EXPECT_EQ(logicalLength(600, 180), 400);
  // The 1600x1200 picture of a 2.5 output: 640x480 units of 2.5 pixels.
  EXPECT_EQ(logicalLength(1600, 300), 640);
  EXPECT_EQ(logicalLength(1200, 300), 480);
  EXPECT_EQ(logicalLength(801, 240), 401);  // 400.5 rounds up
  EXPECT_EQ(logicalLength(640, 90), 853);   // 0.75: more units than pixels
  EXPECT_EQ(logicalLength(1, 960), 1);      // never empty
  EXPECT_EQ(logicalLength(800, 0), 800);    // no fractional scale known
  EXPECT_EQ(logicalLength(0, 180), 0);
  // Large sizes do not overflow.
  EXPECT_EQ(logicalLength(2'000'000'000, 120), 2'000'000'000);
}

}  // namespace krgfx
