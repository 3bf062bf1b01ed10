#include <gtest/gtest.h>

#include <numbers>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "draw_test_support.h"

namespace krgfx {

using namespace draw_test;

namespace {

constexpr uint32_t ink = 0xFF00FF00;
constexpr float pi = std::numbers::pi_v<float>;

class DrawCircleTest : public ScreenTest {};

Picture transposed(const Picture& picture) {
  Picture result(picture[0].size(), std::string(picture.size(), '.'));
  for (size_t y = 0; y < picture.size(); ++y)
    for (size_t x = 0; x < picture[y].size(); ++x) result[x][y] = picture[y][x];
  return result;
}

Picture mirroredLeftRight(Picture picture) {
  for (std::string& row : picture) row = std::string(row.rbegin(), row.rend());
  return picture;
}

Picture mirroredTopBottom(Picture picture) { return Picture(picture.rbegin(), picture.rend()); }

}  // namespace

TEST_F(DrawCircleTest, HandCheckedSmallCircles) {
  openNullScreen(7, 7, 32);
  EXPECT_EQ(drawCircle(nullptr, 3, 3, 3, ink), 0);
  EXPECT_PICTURE(screenPicture(ink), (Picture{
                                         "..###..",
                                         ".#...#.",
                                         "#.....#",
                                         "#.....#",
                                         "#.....#",
                                         ".#...#.",
                                         "..###..",
                                     }));
  clearScreen(0);
  EXPECT_EQ(drawCircle(nullptr, 3, 3, 1, ink), 0);
  EXPECT_EQ(drawCircle(nullptr, 0, 0, 0, ink), 0);
  EXPECT_PICTURE(screenPicture(ink), (Picture{
                                         "#......",
                                         ".......",
                                         "..###..",
                                         "..#.#..",
                                         "..###..",
                                         ".......",
                                         ".......",
                                     }));
}

TEST_F(DrawCircleTest, CirclesAreSymmetricAndMatchThePixelRule) {
  openNullScreen(61, 61, 32);
  for (int radius = 0; radius <= 30; ++radius) {
    clearScreen(0);
    ASSERT_EQ(drawCircle(nullptr, 30, 30, static_cast<float>(radius), ink), 0);
    Picture picture = screenPicture(ink);
    Picture expected = blankPicture(61, 61);
    referenceEllipse(expected, 30, 30, radius, radius, false);
    ASSERT_EQ(shown(picture), shown(expected)) << radius;
    ASSERT_EQ(shown(picture), shown(transposed(picture))) << radius;
    ASSERT_EQ(shown(picture), shown(mirroredLeftRight(picture))) << radius;
    ASSERT_EQ(shown(picture), shown(mirroredTopBottom(picture))) << radius;
  }
}

TEST_F(DrawCircleTest, EllipsesOutlinedAndFilledMatchThePixelRule) {
  openNullScreen(41, 31, 16);
  uint32_t ink16 = 0x07E0;  // green in 5-6-5
  struct Case {
    float radius, aspect;
    int rx, ry;
  };
  for (Case shape : {Case{20, 0.5f, 20, 10}, Case{12, 2.5f, 5, 12}, Case{15, 0.01f, 15, 0},
                     Case{14, 100.0f, 0, 14}, Case{9, 0.75f, 9, 7}}) {
    for (int filled = 0; filled < 2; ++filled) {
      clearScreen(0);
      ASSERT_EQ(drawCircle(nullptr, 20, 15, shape.radius, 0x00FF00, 0, 0, shape.aspect, filled), 0);
      Picture expected = blankPicture(41, 31);
      referenceEllipse(expected, 20, 15, shape.rx, shape.ry, filled);
      ASSERT_EQ(shown(screenPicture(ink16)), shown(expected)) << shape.radius << " " << filled;
    }
  }
}

TEST_F(DrawCircleTest, ClippedAtEveryEdgeAsIfDrawnWhole) {
  openNullScreen(20, 14, 8);
  for (int cx : {-6, 0, 9, 19, 25})
    for (int cy : {-5, 0, 7, 13, 18})
      for (int filled = 0; filled < 2; ++filled) {
        clearScreen(0);
        ASSERT_EQ(drawCircle(nullptr, cx, cy, 8, 3, 0, 0, 0.8f, filled), 0);
        Picture expected = blankPicture(20, 14);
        referenceEllipse(expected, cx, cy, 8, 6, filled);
        ASSERT_EQ(shown(screenPicture(3)), shown(expected)) << cx << "," << cy << " " << filled;
      }
}

TEST_F(DrawCircleTest, HugeCirclesVisitOnlyWhatShows) {
  openNullScreen(40, 30, 32);
  // Centres far off the screen; the outline crosses it as a gentle curve.
  struct Case {
    int64_t cx, cy, radius;
    int32_t filled;
  };
  for (Case c : {Case{-100000, 15, 100010, 0}, Case{20, 4000000, 3999990, 0},
                 Case{-5000000, -5000000, 7071080, 0}, Case{-100000, 15, 100010, 1}}) {
    clearScreen(0);
    ASSERT_EQ(drawCircle(nullptr, static_cast<float>(c.cx), static_cast<float>(c.cy),
                         static_cast<float>(c.radius), ink, 0, 0, 1, c.filled),
              0);
    Picture expected = blankPicture(40, 30);
    for (int64_t y = 0; y < 30; ++y)
      for (int64_t x = 0; x < 40; ++x) {
        int64_t dx = x - c.cx, dy = y - c.cy, r = c.radius;
        auto inside = [r](int64_t a, int64_t b) { return a * a + b * b <= r * r + r; };
        bool edge = !inside(dx - 1, dy) || !inside(dx + 1, dy) || !inside(dx, dy - 1) ||
                    !inside(dx, dy + 1);
        if (inside(dx, dy) && (c.filled || edge)) mark(expected, x, y);
      }
    ASSERT_EQ(shown(screenPicture(ink)), shown(expected)) << c.cx << "," << c.cy;
  }
}

TEST_F(DrawCircleTest, ArcsAndPieSlices) {
  openNullScreen(21, 21, 32);
  // The upper right quarter only: angles 0 to pi/2 run from the right to the top.
  EXPECT_EQ(drawCircle(nullptr, 10, 10, 8, ink, 0, pi / 2), 0);
  Picture whole = blankPicture(21, 21);
  referenceEllipse(whole, 10, 10, 8, 8, false);
  Picture quarter = blankPicture(21, 21);
  for (int y = 0; y <= 10; ++y)
    for (int x = 10; x < 21; ++x)
      if (whole[y][x] == '#') quarter[y][x] = '#';
  EXPECT_PICTURE(screenPicture(ink), quarter);
  // From 3/2 pi round through 0 to pi/2: the right half.
  clearScreen(0);
  EXPECT_EQ(drawCircle(nullptr, 10, 10, 8, ink, 1.5f * pi, pi / 2), 0);
  Picture rightHalf = blankPicture(21, 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 10; x < 21; ++x)
      if (whole[y][x] == '#') rightHalf[y][x] = '#';
  EXPECT_PICTURE(screenPicture(ink), rightHalf);
  // Negative angles add the radii: a pie slice of the same quarter.
  clearScreen(0);
  EXPECT_EQ(drawCircle(nullptr, 10, 10, 8, ink, -2 * pi, -pi / 2), 0);
  for (int i = 0; i <= 8; ++i) mark(quarter, 10 + i, 10), mark(quarter, 10, 10 - i);
  EXPECT_PICTURE(screenPicture(ink), quarter);
}

TEST_F(DrawCircleTest, CentreFollowsTheLastPointAndBadArgumentsFail) {
  openNullScreen(12, 12, 32);
  drawPixel(nullptr, 4, 4, ink);
  EXPECT_EQ(drawCircle(nullptr, 2, 2, 0, 0xFFFF0000, 0, 0, 1, 0, 2), 0);  // at (6, 6)
  EXPECT_EQ(pagePixel(6, 6), 0xFFFF0000u);
  EXPECT_EQ(drawPixel(nullptr, 1, 0, 0xFFFF0000, 2), 0);  // the centre was the last point
  EXPECT_EQ(pagePixel(7, 6), 0xFFFF0000u);
  EXPECT_EQ(drawCircle(nullptr, 5, 5, -1, ink), errBadCall);
  EXPECT_EQ(drawCircle(nullptr, 5, 5, 1e9f, ink), errBadCall);
  EXPECT_EQ(drawCircle(nullptr, 5, 5, 3, ink, 0, 0, 0), errBadCall);
  EXPECT_EQ(drawCircle(nullptr, 5, 5, 3, ink, 7, 0), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  closeScreen();
  EXPECT_EQ(drawCircle(nullptr, 5, 5, 3, ink), errBadCall);
}

}  // namespace krgfx
