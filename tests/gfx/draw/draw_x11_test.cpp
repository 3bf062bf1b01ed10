// Drawing, palette changes and titles as the real window shows them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <krgfx/draw.h>
#include <krgfx/gfx.h>
#include "support/x11_window_fixture.h"

namespace krgfx {

namespace {

struct Case {
  const char* driver;
  int screen;  // 0: 24-bit, 1: 16-bit
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.driver << " on screen " << c.screen; }

// What a visual of that depth shows for 0xRRGGBB.
unsigned long shownAs(uint32_t colour, int visualDepth) {
  if (visualDepth != 16) return colour & 0xFFFFFF;
  uint32_t red = colour >> 16 & 0xFF, green = colour >> 8 & 0xFF, blue = colour & 0xFF;
  return (red >> 3) << 11 | (green >> 2) << 5 | blue >> 3;
}

class DrawOnWindow : public X11WindowTest, public ::testing::WithParamInterface<Case> {
 protected:
  void open(int32_t width, int32_t height, int32_t depth) {
    ASSERT_TRUE(useScreen(GetParam().screen));
    setenv("KRGFX", GetParam().driver, 1);
    ASSERT_EQ(openScreen(width, height, depth, 1, 0, 0), 0);
    window = findWindow();
    ASSERT_NE(window, 0u);
  }
  // Whether the window shows `colour` (0xRRGGBB) at every point given.
  bool shows(std::initializer_list<std::pair<int, int>> points, uint32_t colour) {
    return eventually([&] {
      ClientArea area = clientArea(window);
      if (area.width <= 0) return false;
      XImage* image = XGetImage(test, window, area.x, area.y, area.width, area.height, AllPlanes,
                                ZPixmap);
      if (!image) return false;
      bool all = true;
      for (auto [x, y] : points)
        all = all && XGetPixel(image, x, y) == shownAs(colour, image->depth);
      XDestroyImage(image);
      return all;
    });
  }
  Window window = 0;
};

}  // namespace

TEST_P(DrawOnWindow, ShapesShowWithoutTheProgramMarkingRows) {
  open(200, 150, 32);
  drawLine(nullptr, 10, 20, 190, 20, 0xFFFF0000);
  drawCircle(nullptr, 100, 90, 40, 0xFF00FF00, 0, 0, 1, 1);
  drawLine(nullptr, 5, 140, 15, 145, 0xFF0000FF, shapeFilledBox);
  EXPECT_TRUE(shows({{10, 20}, {190, 20}}, 0xFF0000));
  EXPECT_TRUE(shows({{100, 90}, {60, 90}, {100, 130}}, 0x00FF00));
  EXPECT_TRUE(shows({{5, 140}, {15, 145}}, 0x0000FF));
  EXPECT_TRUE(shows({{100, 10}}, 0x000000));
}

TEST_P(DrawOnWindow, APaletteChangeRecoloursWhatIsShown) {
  open(160, 100, 8);
  drawLine(nullptr, 0, 0, 159, 49, 5, shapeFilledBox);
  drawLine(nullptr, 0, 50, 159, 99, 6, shapeFilledBox);
  EXPECT_EQ(setPaletteColour(5, 10, 200, 30), 0);
  EXPECT_TRUE(shows({{0, 0}, {159, 49}}, 0x0AC81E));
  const uint32_t colours[2] = {0x102030, 0xF0E0D0};
  EXPECT_EQ(setPalette(colours, 5, 2), 0);
  EXPECT_TRUE(shows({{80, 20}}, 0x102030));
  EXPECT_TRUE(shows({{80, 70}, {0, 99}}, 0xF0E0D0));
}

TEST_P(DrawOnWindow, TheTitleChangesOnTheOpenWindow) {
  open(100, 80, 32);
  EXPECT_EQ(setWindowTitle("Snake - 3 apples"), 0);
  EXPECT_TRUE(eventually([&] {
    char* name = nullptr;
    bool same = XFetchName(test, window, &name) && name && std::string(name) == "Snake - 3 apples";
    if (name) XFree(name);
    return same;
  }));
}

INSTANTIATE_TEST_SUITE_P(DriversAndScreens, DrawOnWindow,
                         ::testing::Values(Case{"DirectX", 0}, Case{"GDI", 0}, Case{"DirectX", 1},
                                           Case{"GDI", 1}),
                         [](const auto& info) {
                           return std::string(info.param.driver) +
                                  (info.param.screen ? "_16" : "_24");
                         });

}  // namespace krgfx
