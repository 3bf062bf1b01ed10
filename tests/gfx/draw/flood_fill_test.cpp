#include <gtest/gtest.h>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "draw_test_support.h"
#include "gfx/depth_routines.h"
#include "gfx/flood_fill.h"

namespace krgfx {

using namespace draw_test;

namespace {

constexpr uint32_t wall = 0xFFFFFFFF;
constexpr uint32_t paint = 0xFF0000FF;

class FloodFillTest : public ScreenTest {
 protected:
  // Draws the picture's '#' pixels as walls on a fresh screen of its size.
  static void drawWalls(const Picture& picture, int32_t depth = 32) {
    openNullScreen(static_cast<int32_t>(picture[0].size()), static_cast<int32_t>(picture.size()),
                   depth);
    for (size_t y = 0; y < picture.size(); ++y)
      for (size_t x = 0; x < picture[y].size(); ++x)
        if (picture[y][x] == '#') drawPixel(nullptr, x, y, wall);
  }
  // The screen with '#' for walls, 'o' for paint and '.' for the rest.
  static Picture painted() {
    Picture rows = screenPicture(gfxScreen->depth == 32 ? wall : 0xFFFF);
    for (int32_t y = 0; y < gfxScreen->height; ++y)
      for (int32_t x = 0; x < gfxScreen->width; ++x)
        if (pagePixel(x, y) == (gfxScreen->depth == 32 ? paint : 0x001F)) rows[y][x] = 'o';
    return rows;
  }
};

// A serpentine maze of width x height: walls on every other row, each with
// one gap at alternating ends, so the one corridor runs back and forth.
Picture serpentine(int32_t width, int32_t height) {
  Picture maze = blankPicture(width, height);
  for (int32_t y = 1; y < height; y += 2) {
    std::string& row = maze[y];
    row.assign(width, '#');
    row[(y / 2) % 2 ? 0 : width - 1] = '.';
  }
  return maze;
}

}  // namespace

TEST_F(FloodFillTest, FillsToTheBorderWithinItsShape) {
  drawWalls({
      "..........",
      ".#####....",
      ".#...#....",
      ".#.#.####.",
      ".#.#....#.",
      ".######.#.",
      "......###.",
  });
  EXPECT_EQ(floodFill(nullptr, 2, 2, paint, wall), 0);
  EXPECT_PICTURE(painted(), (Picture{
                                "..........",
                                ".#####....",
                                ".#ooo#....",
                                ".#o#o####.",
                                ".#o#oooo#.",
                                ".######o#.",
                                "......###.",
                            }));
  // The seed on the border: nothing.
  EXPECT_EQ(floodFill(nullptr, 1, 1, paint, wall), 0);
  EXPECT_EQ(painted()[0], "..........");
}

TEST_F(FloodFillTest, OverOneColourStopsAtAnyOther) {
  drawWalls({
      "......",
      ".####.",
      ".#..#.",
      ".####.",
      "......",
  });
  drawPixel(nullptr, 0, 2, 0xFF00FF00);  // a third colour stops it too
  EXPECT_EQ(floodFill(nullptr, 5, 0, paint, 0, 0, fillOverColour), 0);
  Picture result = painted();
  EXPECT_EQ(result[0], "oooooo");
  EXPECT_EQ(result[2], "?#..#o");
  EXPECT_EQ(result[4], "oooooo");
  // Filling the walls themselves, over their colour.
  EXPECT_EQ(floodFill(nullptr, 1, 1, paint, 0, 0, fillOverColour), 0);
  EXPECT_EQ(painted()[2], "?o..oo");
}

TEST_F(FloodFillTest, MazeFarLargerThanRecursionCouldTake) {
  // 1000 x 1000: the corridor is one path of about half a million pixels.
  Picture maze = serpentine(1000, 1000);
  drawWalls(maze, 16);
  EXPECT_EQ(floodFill(nullptr, 0, 0, 0x0000FF, 0xFFFFFF), 0);
  for (auto& row : maze)
    for (char& c : row)
      if (c == '.') c = 'o';
  ASSERT_EQ(painted(), maze);
}

TEST_F(FloodFillTest, AFullSeedListFallsBackToSweepingWithTheSameResult) {
  // Corridors three rows high between walls with a gap at alternating ends,
  // pillars in their middle rows: many runs on every row.
  Picture maze = blankPicture(60, 41);
  for (int32_t y = 3; y < 41; y += 4) {
    maze[y].assign(60, '#');
    maze[y][(y / 4) % 2 ? 0 : 59] = '.';
  }
  for (int32_t y = 1; y < 41; y += 4)
    for (int32_t x = 3; x < 57; x += 5) maze[y][x] = '#';
  for (size_t capacity : {size_t{1}, size_t{2}, size_t{7}, floodSeedCapacity}) {
    drawWalls(maze);
    DrawSession session;
    ASSERT_TRUE(beginDrawing(session, nullptr, paint, 0, 0));
    EXPECT_EQ(floodFrom(session, 30, 38, wall, false, capacity), 0);
    endDrawing(session);
    Picture expected = maze;
    for (auto& row : expected)
      for (char& c : row)
        if (c == '.') c = 'o';
    EXPECT_EQ(painted(), expected) << capacity;
    closeScreen();
  }
}

TEST_F(FloodFillTest, ClippedBlendedOnceAndRowsMarked) {
  drawWalls({
      "........",
      "........",
      "........",
      "........",
  });
  gfxScreen->flags |= screenAlphaBlend;
  DrawContext& context = currentContext();
  context.viewRect = {2, 1, 4, 2};
  std::memset(gfxScreen->dirtyLines, 0, 4);
  // Half-transparent paint of the border's own colour: each pixel blends once.
  EXPECT_EQ(floodFill(nullptr, 0, 0, 0x80FFFFFF, 0, 0, borderNotGiven), 0);
  uint32_t once = screenBlend(0x80FFFFFF, 0xFF000000);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 1 && y < 3;
      ASSERT_EQ(pagePixel(x, y), inside ? once : 0xFF000000u) << x << "," << y;
    }
  EXPECT_EQ(gfxScreen->dirtyLines[0] + gfxScreen->dirtyLines[3], 0);
  EXPECT_EQ(gfxScreen->dirtyLines[1] + gfxScreen->dirtyLines[2], 2);
  // A seed outside the clip rectangle fills nothing.
  EXPECT_EQ(floodFill(nullptr, 10, 0, paint, wall), 0);
  EXPECT_EQ(pagePixel(0, 0), 0xFF000000u);
}

TEST_F(FloodFillTest, ImagesOfEveryDepth) {
  openNullScreen(4, 4, 32);
  struct Case {
    int32_t depth;
    uint32_t fill, border;            // as given
    uint32_t fillPixel, borderPixel;  // as stored
  };
  for (Case c : {Case{8, 4, 7, 4, 7}, Case{16, 0x0000FF, 0xFFFFFF, 0x001F, 0xFFFF},
                 Case{32, 0xFF000004, 0xFF000007, 0xFF000004, 0xFF000007}}) {
    void* image = createImage(5, 3, 0, c.depth, 0);
    drawLine(image, 2, 0, 2, 2, c.border);
    EXPECT_EQ(floodFill(image, 0, 1, c.fill, c.border), 0);
    int32_t pitch, bpp;
    uint8_t* pixels = imagePixels(image, nullptr, nullptr, &pitch, &bpp);
    auto at = [&](int x, int y) {
      uint32_t value = 0;
      std::memcpy(&value, pixels + y * pitch + x * bpp, static_cast<size_t>(bpp));
      return value;
    };
    EXPECT_EQ(at(0, 0), c.fillPixel) << c.depth;
    EXPECT_EQ(at(1, 2), c.fillPixel) << c.depth;
    EXPECT_EQ(at(2, 1), c.borderPixel) << c.depth;
    EXPECT_EQ(at(3, 1), 0u) << c.depth;
    destroyImage(image);
  }
}

}  // namespace krgfx
