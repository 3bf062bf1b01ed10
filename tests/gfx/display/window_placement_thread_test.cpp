// Where the window drivers ask for their window: centred, frame included, or
// back where it was.
#include <gtest/gtest.h>

#include <string>

#include "support/window_layer_fixture.h"

namespace krgfx {

namespace {

WindowMessage altEnter() { return scriptedKey(MessageKind::systemKeyDown, 13, 28); }

class WindowPlacement : public WindowLayerTest,
                        public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_P(WindowPlacement, ANewWindowIsCentredFrameIncluded) {
  openOn(GetParam());
  WindowSpec window = system.currentWindow();
  EXPECT_TRUE(window.centred);
  // Without a frame of its own the window system takes (x, y) as it is.
  EXPECT_EQ(window.x, (1024 - 800) / 2);
  EXPECT_EQ(window.y, (768 - 600) / 2);
}

TEST_P(WindowPlacement, AFullScreenWindowIsNotCentred) {
  openOn(GetParam(), 32, flagFullScreen);
  EXPECT_FALSE(system.currentWindow().centred);
}

INSTANTIATE_TEST_SUITE_P(BothWindowDrivers, WindowPlacement, ::testing::Values("DirectX", "GDI"),
                         [](const auto& info) { return std::string(info.param); });

// "DirectX" puts a window back from full screen where the user left it.
TEST_F(WindowLayerTest, ADirectXWindowBackFromFullScreenKeepsItsPlace) {
  openOn("DirectX");
  gfxScreen->driver->moveWindow(30, 40);
  deliver(altEnter());
  ASSERT_TRUE(system.currentWindow().fullScreen);
  deliver(altEnter());
  WindowSpec window = system.currentWindow();
  EXPECT_FALSE(window.fullScreen);
  EXPECT_FALSE(window.centred);
  EXPECT_EQ(window.x, 30);
  EXPECT_EQ(window.y, 40);
}

}  // namespace krgfx
