// What the library knows of the rows of the shown page: every drawing
// operation marks the rows it changes, so that a clear may leave rows that
// hold its colour already alone and the presenter skips rows marked without
// a change.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <krgfx/draw.h>
#include <krgfx/image.h>
#include <krgfx/text.h>
#include "gfx/screen.h"
#include "support/screen_fixture.h"
#include "support/screen_pixels.h"

namespace krgfx {

namespace {

class RowWrites : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    openNullScreen(320, 200, 32, 2);
    clearScreen(0);
    background = *reinterpret_cast<const uint32_t*>(gfxScreen->visibleFramebuffer);
  }
  uint32_t background = 0;
  static std::vector<uint8_t> page() {
    const GfxScreen& screen = *gfxScreen;
    return {screen.visibleFramebuffer,
            screen.visibleFramebuffer + static_cast<size_t>(screen.pitch) * screen.height};
  }
  static void forgetMarks() { std::memset(gfxScreen->dirtyLines, 0, gfxScreen->height); }
  static int32_t markedRows() {
    int32_t count = 0;
    for (int32_t row = 0; row < gfxScreen->height; ++row) count += gfxScreen->dirtyLines[row];
    return count;
  }
  // Rows whose pixels differ from `before` but carry no mark.
  static std::vector<int32_t> unmarkedChanges(const std::vector<uint8_t>& before) {
    std::vector<int32_t> rows;
    std::vector<uint8_t> after = page();
    size_t pitch = static_cast<size_t>(gfxScreen->pitch);
    for (int32_t row = 0; row < gfxScreen->height; ++row)
      if (std::memcmp(&before[row * pitch], &after[row * pitch], pitch) != 0 &&
          !gfxScreen->dirtyLines[row])
        rows.push_back(row);
    return rows;
  }
  static bool pageIsAll(uint32_t colour) {
    for (int32_t row = 0; row < gfxScreen->height; ++row) {
      auto* pixels = reinterpret_cast<const uint32_t*>(gfxScreen->visibleFramebuffer +
                                                       static_cast<size_t>(row) * gfxScreen->pitch);
      for (int32_t x = 0; x < gfxScreen->width; ++x)
        if (pixels[x] != colour) return false;
    }
    return true;
  }
};

struct Operation {
  std::string name;
  std::function<void()> draw;
};

std::vector<Operation> drawingOperations(ImageBuffer* sprite) {
  return {
      {"drawPixel", [] { drawPixel(nullptr, 10, 11, 0xFFFF0000); }},
      {"drawLine", [] { drawLine(nullptr, 3, 20, 200, 90, 0xFF00FF00); }},
      {"box", [] { drawLine(nullptr, 30, 30, 90, 60, 0xFF0000FF, shapeBox); }},
      {"filledBox", [] { drawLine(nullptr, 30, 100, 90, 120, 0xFF0000FF, shapeFilledBox); }},
      {"drawCircle", [] { drawCircle(nullptr, 160, 100, 40, 0xFFFFFFFF); }},
      {"floodFill",
       [] {
         drawLine(nullptr, 100, 50, 140, 70, 0xFFFFFFFF, shapeBox);
         floodFill(nullptr, 120, 60, 0xFF808080, 0xFFFFFFFF);
       }},
      {"writeText",
       [] {
         placeCursor(3, 2, -1, 0, 0);
         writeText(0, "Zdobyles 42 punktow!", 0);
       }},
      {"scrolling text",
       [] {
         placeCursor(25, 1, -1, 0, 0);
         writeText(0, "bottom line\nscrolls", printNewline);
       }},
      {"putImage", [sprite] { putImage(nullptr, 50, 150, sprite, putTransparent); }},
      {"drawImageScaled", [sprite] { drawImageScaled(nullptr, 0, 0, 64, 48, sprite, putPlain); }},
      {"copyPage",
       [] {
         setPages(1, 0);
         drawLine(nullptr, 0, 5, 319, 9, 0xFF123456, shapeFilledBox);
         setPages(0, 0);
         copyPage(1, 0);
       }},
      {"clear of the graphics view",
       [] {
         setColours(0xFFFFFFFF, 0xFF203040);
         clearScreen(1);
         setColours(0xFFFFFFFF, 0xFF000000);
       }},
  };
}

}  // namespace

// Each operation is drawn on a cleared page: every row it changed must carry
// a mark, and the next clear must bring back a page of the background colour
// (a row changed without the library knowing would keep its pixels).
TEST_F(RowWrites, EveryDrawingOperationMarksTheRowsItChangesAndTheNextClearRemovesThem) {
  ImageBuffer* sprite = createImage(16, 16, 0x00FFFF00, 32, 0);
  ASSERT_NE(sprite, nullptr);
  for (const Operation& operation : drawingOperations(sprite)) {
    lockScreen();
    std::vector<uint8_t> before = page();
    forgetMarks();
    operation.draw();
    EXPECT_NE(page(), before) << operation.name << " drew nothing";
    EXPECT_EQ(unmarkedChanges(before), std::vector<int32_t>{}) << operation.name;
    clearScreen(0);
    unlockScreen(-1, -1);
    EXPECT_TRUE(pageIsAll(background)) << operation.name;
  }
  destroyImage(sprite);
}

TEST_F(RowWrites, AClearRefillsOnlyTheRowsDrawnOnSinceTheLastOne) {
  forgetMarks();
  clearScreen(0);
  EXPECT_EQ(markedRows(), 0);
  drawLine(nullptr, 0, 40, 319, 49, 0xFFFFFFFF, shapeFilledBox);
  forgetMarks();
  clearScreen(0);
  EXPECT_EQ(markedRows(), 10);
  EXPECT_TRUE(gfxScreen->dirtyLines[40] && gfxScreen->dirtyLines[49]);
  // Another colour: every row is filled.
  setColours(0xFFFFFFFF, 0xFF102030);
  forgetMarks();
  clearScreen(0);
  EXPECT_EQ(markedRows(), 200);
  EXPECT_TRUE(pageIsAll(0xFF102030));
}

// Pixels the program writes itself are known only by its marks, so a clear
// fills every row again.
TEST_F(RowWrites, PixelsWrittenThroughImagePixelsAreClearedToo) {
  lockScreen();
  uint8_t* pixels = screenPixels();
  std::memset(pixels + 77 * gfxScreen->pitch, 0x55, 16);
  unlockScreen(1, 0);  // not even marked
  clearScreen(0);
  EXPECT_TRUE(pageIsAll(background));
}

// A blended background changes the rows each time it is filled in.
TEST_F(RowWrites, ABlendedBackgroundIsFilledInEveryTime) {
  closeScreen();
  setTestEnvironment("KRGFX", "null");
  ASSERT_EQ(openScreen(64, 8, 32, 1, flagAlphaBlend, 0), 0);
  setColours(0xFFFFFFFF, 0x80FFFFFF);
  clearScreen(0);
  uint32_t once = *reinterpret_cast<const uint32_t*>(gfxScreen->visibleFramebuffer);
  clearScreen(0);
  EXPECT_NE(*reinterpret_cast<const uint32_t*>(gfxScreen->visibleFramebuffer), once);
}

}  // namespace krgfx
