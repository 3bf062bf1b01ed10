// The palette, pixel access, pages, title and colours as programs reach them.
#include <gtest/gtest.h>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "draw_test_support.h"
#include "gfx/draw_context.h"
#include "support/test_drivers.h"

namespace krgfx {

using namespace draw_test;

namespace {

class ScreenStateOpsTest : public ScreenTest {};

}  // namespace

TEST_F(ScreenStateOpsTest, PaletteChangesReachTheDriverAndShowEveryRow) {
  GfxScreen& screen = openRecordedScreen(8);
  std::memset(screen.dirtyLines, 0, 600);
  EXPECT_EQ(setPaletteColour(5, 10, 20, 30), 0);
  EXPECT_EQ(screen.palette[5], 0x1E140Au);
  EXPECT_EQ(screen.devicePalette[5], 0x1E140Au);
  EXPECT_EQ(paletteColour(5), 0x0A141E);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI."),
            (std::vector<std::string>{"GDI.lock", "GDI.palette(5,10,20,30)", "GDI.unlock"}));
  EXPECT_EQ(screen.dirtyLines[0] + screen.dirtyLines[599], 2);
  // Many entries in one lock.
  testing_drivers::calls.clear();
  const uint32_t colours[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  EXPECT_EQ(setPalette(colours, 253, 3), 0);
  EXPECT_EQ(
      testing_drivers::callsStartingWith("GDI."),
      (std::vector<std::string>{"GDI.lock", "GDI.palette(253,255,0,0)", "GDI.palette(254,0,255,0)",
                                "GDI.palette(255,0,0,255)", "GDI.unlock"}));
  EXPECT_EQ(paletteColour(255), 0x0000FF);
  // Out of range: nothing changes.
  testing_drivers::calls.clear();
  EXPECT_EQ(setPalette(colours, 254, 3), errBadCall);
  EXPECT_EQ(setPalette(nullptr, 0, 1), errBadCall);
  EXPECT_EQ(setPaletteColour(256, 0, 0, 0), errBadCall);
  EXPECT_EQ(setPaletteColour(1, 0, 256, 0), errBadCall);
  EXPECT_EQ(paletteColour(-1), -1);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_TRUE(testing_drivers::calls.empty());
  EXPECT_EQ(paletteColour(254), 0x00FF00);
}

TEST_F(ScreenStateOpsTest, NoPaletteOnDeepScreensOrWithoutOne) {
  EXPECT_EQ(setPaletteColour(1, 1, 1, 1), errBadCall);
  EXPECT_EQ(paletteColour(1), -1);
  openNullScreen(8, 8, 32);
  EXPECT_EQ(setPaletteColour(1, 1, 1, 1), errBadCall);
  closeScreen();
  // A 4-bit screen keeps entries beyond its 16 colours without showing them.
  openNullScreen(8, 8, 4);
  EXPECT_EQ(setPaletteColour(40, 1, 2, 3), 0);
  EXPECT_EQ(gfxScreen->palette[40], 0x030201u);
  EXPECT_EQ(gfxScreen->devicePalette[40], 0u);
}

TEST_F(ScreenStateOpsTest, PixelsOfTheWorkPageAndOfImages) {
  EXPECT_EQ(imagePixels(nullptr, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(runtimeError(), errBadCall);
  openNullScreen(20, 10, 16, 2);
  int32_t width, height, pitch, bpp;
  EXPECT_EQ(imagePixels(nullptr, &width, &height, &pitch, &bpp), gfxScreen->pages[0]);
  EXPECT_EQ(width, 20);
  EXPECT_EQ(height, 10);
  EXPECT_EQ(pitch, 40);
  EXPECT_EQ(bpp, 2);
  setPages(1, 0);
  EXPECT_EQ(imagePixels(nullptr, nullptr, nullptr, nullptr, nullptr), gfxScreen->pages[1]);
  void* image = createImage(3, 4, 0, 32, 0);
  uint8_t* pixels = imagePixels(image, &width, &height, &pitch, &bpp);
  EXPECT_EQ(pixels, static_cast<uint8_t*>(image) + 32);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 4);
  EXPECT_EQ(pitch, 16);
  EXPECT_EQ(bpp, 4);
  // What is written there is what the drawing operations read.
  uint32_t value = 0x12345678;
  std::memcpy(pixels + pitch * 2 + 4, &value, 4);
  EXPECT_EQ(readPixel(image, 1, 2), 0x12345678);
  destroyImage(image);
}

TEST_F(ScreenStateOpsTest, DrawOffScreenThenShowAndCopy) {
  EXPECT_EQ(setPages(1, 0), -1);
  EXPECT_EQ(copyPage(0, 1), errBadCall);
  GfxScreen& screen = openNullScreen(8, 4, 32, 2);
  EXPECT_EQ(setPages(1, 0), 0);  // previously page 0 shown and drawn into
  std::memset(screen.dirtyLines, 0, 4);
  drawPixel(nullptr, 2, 1, 0xFFFF0000);
  EXPECT_EQ(pagePixel(2, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(pagePixel(2, 1, 0), 0xFF000000u);
  EXPECT_EQ(screen.dirtyLines[1], 0);  // drawn off screen: nothing to show
  // Flip: page 1 shown.
  EXPECT_EQ(setPages(0, 1), 0x0001);
  EXPECT_EQ(screen.visibleFramebuffer, screen.pages[1]);
  EXPECT_EQ(screen.dirtyLines[1], 1);
  // Copy the shown page onto the other.
  EXPECT_EQ(copyPage(1, 0), 0);
  EXPECT_EQ(pagePixel(2, 1, 0), 0xFFFF0000u);
  EXPECT_EQ(copyPage(0, 2), errBadCall);
}

TEST_F(ScreenStateOpsTest, WindowTitleNowAndForLaterWindows) {
  EXPECT_EQ(setWindowTitle("Plasma"), 0);
  EXPECT_STREQ(windowTitle, "Plasma");
  EXPECT_EQ(setWindowTitle(std::string(300, 'x')), 0);
  EXPECT_EQ(std::string(windowTitle), std::string(127, 'x'));
}

TEST_F(ScreenStateOpsTest, ColoursSetReadAndUsedByTextAndDrawing) {
  EXPECT_EQ(setColours(1, 2), 0);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(foreColour(), 0u);
  openNullScreen(32, 16, 16);
  setColours(0xFF0000, 0x0000FF);
  EXPECT_EQ(foreColour(), 0xFFFF0000u);
  EXPECT_EQ(backColour(), 0xFF0000FFu);
  setColours(0x00FF00, 0, keepBackColour);
  EXPECT_EQ(foreColour(), 0xFF00FF00u);
  EXPECT_EQ(backColour(), 0xFF0000FFu);
  drawPixel(nullptr, 31, 15, 0, 0, colourNotGiven);
  EXPECT_EQ(pagePixel(31, 15), 0x07E0u);
  // Text in the colours: "_" in the 8x8 font has its bottom row set only.
  clearScreen(0);
  EXPECT_EQ(pagePixel(0, 0), 0x001Fu);
  writeText(0, "__", 0);
  EXPECT_EQ(pagePixel(0, 7), 0x07E0u);
  EXPECT_EQ(pagePixel(0, 0), 0x001Fu);
}

TEST_F(ScreenStateOpsTest, SeeThroughTextKeepsThePictureBehindIt) {
  EXPECT_EQ(setTextBackground(textSeeThrough), -1);
  openNullScreen(16, 8, 32);
  drawLine(nullptr, 0, 0, 15, 7, 0xFF112233, shapeFilledBox);
  EXPECT_EQ(setTextBackground(textSeeThrough), textOpaque);
  placeCursor(1, 1, -1, 0, 0);
  writeText(0, "_", 0);
  EXPECT_EQ(pagePixel(3, 7), 0xFFFFFFFFu);  // the glyph's pixels
  EXPECT_EQ(pagePixel(3, 3), 0xFF112233u);  // the picture behind
  EXPECT_EQ(setTextBackground(textOpaque), textSeeThrough);
  writeText(0, "_", 0);
  EXPECT_EQ(pagePixel(11, 3), 0xFF000000u);
  EXPECT_EQ(setTextBackground(5), -1);
  // A new mode starts opaque.
  setTextBackground(textSeeThrough);
  openNullScreen(16, 8, 32);
  EXPECT_EQ(setTextBackground(textOpaque), textOpaque);
}

}  // namespace krgfx
