#include <gtest/gtest.h>

#include <algorithm>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

constexpr uint32_t screenBlack = 0xFF000000;

uint32_t pictureAt(int32_t x, int32_t y) { return 0x00010000u * (y + 1) + x + 1; }

// A 32-bit image whose pixel (x, y) is distinct and never transparent.
void* numberedImage(int32_t width, int32_t height) {
  void* image = createImage(width, height, 0, 32, 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) setPixel<uint32_t>(image, x, y, pictureAt(x, y));
  return image;
}

class DrawImageTest : public ScreenTest {
 protected:
  static int32_t draw(void* source, float x, float y, int32_t x1 = notGiven, int32_t y1 = 0,
                      int32_t x2 = 0, int32_t y2 = 0, int32_t coordType = 0, int32_t mode = 0,
                      void* target = nullptr) {
    return drawImage(target, x, y, source, x1, y1, x2, y2, coordType, mode, transparentCopy, -1,
                     nullptr, nullptr);
  }
  // The screen shows picture pixel (x - left, y - top) inside the rectangle
  // and black elsewhere.
  static void expectPictureAt(int32_t left, int32_t top, int32_t sourceX, int32_t sourceY,
                              int32_t width, int32_t height) {
    for (int32_t y = std::max(top - 1, 0); y < std::min(top + height + 1, 600); ++y)
      for (int32_t x = std::max(left - 1, 0); x < std::min(left + width + 1, 800); ++x) {
        bool inside = x >= left && x < left + width && y >= top && y < top + height;
        uint32_t expected = inside ? pictureAt(sourceX + x - left, sourceY + y - top) : screenBlack;
        ASSERT_EQ(screenPixel(x, y), expected) << x << "," << y;
      }
  }
};

}  // namespace

TEST_F(DrawImageTest, ClippedAtEveryScreenEdge) {
  openNullScreen();
  void* image = numberedImage(10, 10);
  clearDirtyRows();
  EXPECT_EQ(draw(image, -5, -5), 0);
  expectPictureAt(0, 0, 5, 5, 5, 5);
  EXPECT_EQ(dirtyRowCount(), 5);
  EXPECT_EQ(gfxScreen->dirtyLines[4], 1);
  clearDirtyRows();
  EXPECT_EQ(draw(image, 795, 595), 0);
  expectPictureAt(795, 595, 0, 0, 5, 5);
  EXPECT_EQ(dirtyRowCount(), 5);
  EXPECT_EQ(gfxScreen->dirtyLines[595], 1);
  destroyImage(image);
}

TEST_F(DrawImageTest, WhollyClippedDrawsLocksAndMarksNothing) {
  openRecordedScreen();
  void* image = numberedImage(10, 10);
  clearDirtyRows();
  testing_drivers::calls.clear();
  for (auto [x, y] :
       {std::pair{800.0f, 0.0f}, {-10.0f, 0.0f}, {0.0f, 600.0f}, {5.0f, -10.0f}, {-3e9f, 3e9f}}) {
    EXPECT_EQ(draw(image, x, y), 0);
    EXPECT_EQ(runtimeError(), 0);
  }
  EXPECT_EQ(dirtyRowCount(), 0);
  EXPECT_TRUE(testing_drivers::callsStartingWith("GDI.lock").empty());
  EXPECT_EQ(screenPixel(0, 0), screenBlack);
  EXPECT_EQ(draw(image, 1, 1), 0);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI.lock").size(), 1u);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI.unlock").size(), 1u);
  destroyImage(image);
}

TEST_F(DrawImageTest, SourceRectangleIsOrderedAndClamped) {
  openNullScreen();
  void* image = numberedImage(10, 10);
  EXPECT_EQ(draw(image, 100, 100, 5, 5, 2, 2), 0);
  expectPictureAt(100, 100, 2, 2, 4, 4);
  EXPECT_EQ(draw(image, 200, 100, -3, 0, -1, 0), 0);
  expectPictureAt(200, 100, 0, 0, 1, 1);
  EXPECT_EQ(draw(image, 300, 100, 8, 7, 50, 70), 0);
  expectPictureAt(300, 100, 8, 7, 2, 3);
  // Only x1 marks the rectangle as omitted.
  EXPECT_EQ(draw(image, 400, 100, notGiven, 3, 4, 5), 0);
  expectPictureAt(400, 100, 0, 0, 10, 10);
  // coordType 1: the second corner is relative to the first.
  EXPECT_EQ(draw(image, 500, 100, 2, 3, 1, 2, 1), 0);
  expectPictureAt(500, 100, 2, 3, 2, 3);
  destroyImage(image);
}

TEST_F(DrawImageTest, RelativeCoordinatesMoveTheLastPoint) {
  openNullScreen();
  void* image = numberedImage(4, 4);
  DrawContext& context = currentContext();
  context.lastX = 0;
  context.lastY = 0;
  EXPECT_EQ(draw(image, 10, 0, notGiven, 0, 0, 0, 2), 0);
  EXPECT_EQ(draw(image, 10, 0, notGiven, 0, 0, 0, 2), 0);
  expectPictureAt(10, 0, 0, 0, 4, 4);
  EXPECT_EQ(screenPixel(20, 0), pictureAt(0, 0));
  EXPECT_EQ(context.lastX, 20.0f);
  // coordType 3: relative point and relative corner.
  EXPECT_EQ(draw(image, 0, 50, 1, 1, 1, 1, 3), 0);
  expectPictureAt(20, 50, 1, 1, 2, 2);
  // Absolute types still record the point; halves round away from zero.
  EXPECT_EQ(draw(image, 100.5f, 60.4f), 0);
  EXPECT_EQ(context.lastX, 100.5f);
  EXPECT_EQ(screenPixel(101, 60), pictureAt(0, 0));
  destroyImage(image);
}

TEST_F(DrawImageTest, IllegalCallsReturnOne) {
  void* fake = nullptr;
  EXPECT_EQ(draw(fake, 0, 0), errBadCall);  // no screen
  openNullScreen();
  void* image = numberedImage(4, 4);
  EXPECT_EQ(draw(nullptr, 0, 0), errBadCall);
  for (int32_t coordType : {-1, 4, 7}) {
    EXPECT_EQ(draw(image, 0, 0, notGiven, 0, 0, 0, coordType), errBadCall);
    EXPECT_EQ(runtimeError(), errBadCall);
  }
  EXPECT_EQ(drawImage(nullptr, 0, 0, image, notGiven, 0, 0, 0, 0, 0, nullptr, -1, nullptr, nullptr),
            errBadCall);
  EXPECT_EQ(screenPixel(0, 0), screenBlack);
  destroyImage(image);
}

TEST_F(DrawImageTest, DepthsMustMatchSaveForAlphaMasks) {
  openNullScreen();
  DrawContext& context = currentContext();
  void* wide = createImage(4, 4, 0x1234, 16, 0);
  EXPECT_EQ(draw(wide, 30, 40), errBadCall);
  EXPECT_EQ(context.lastX, 30.0f);  // the point was already taken
  EXPECT_EQ(screenPixel(30, 40), screenBlack);

  void* mask = createImage(3, 2, 0x80, 8, 0);
  EXPECT_EQ(draw(mask, 10, 10), errBadCall);
  EXPECT_EQ(screenPixel(10, 10), screenBlack);
  void* target = createImage(5, 5, 0x00123456, 32, 0);
  EXPECT_EQ(draw(mask, 1, 1, notGiven, 0, 0, 0, 0, 6, target), 0);
  EXPECT_EQ(pixelAt(target, 1, 1), 0x80123456u);
  EXPECT_EQ(pixelAt(target, 3, 2), 0x80123456u);
  EXPECT_EQ(pixelAt(target, 4, 2), 0x00123456u);
  EXPECT_EQ(pixelAt(target, 1, 3), 0x00123456u);
  for (void* image : {wide, mask, target}) destroyImage(image);
}

TEST_F(DrawImageTest, TransparentColourOfEachDepthIsSkipped) {
  struct Case {
    int32_t depth;
    uint32_t transparent, opaque;
  } cases[] = {{8, 0x00, 0x7F}, {16, 0xF81F, 0xF81E}, {32, 0xFFFF00FF, 0xFF123456}};
  for (const Case& c : cases) {
    openNullScreen(64, 48, c.depth);
    int32_t bpp = gfxScreen->bytesPerPixel;
    void* image = createImage(2, 1, 0, 0, 0);
    std::memcpy(layoutOf(image).pixels, &c.transparent, bpp);
    std::memcpy(layoutOf(image).pixels + bpp, &c.opaque, bpp);
    const uint32_t marker = 0x5A5A5A5A;  // what the skipped pixel must keep
    std::memcpy(gfxScreen->pages[0] + 3 * bpp, &marker, bpp);
    uint32_t before = 0, left = 0, right = 0;
    std::memcpy(&before, gfxScreen->pages[0] + 3 * bpp, bpp);
    EXPECT_EQ(draw(image, 3, 0), 0);
    std::memcpy(&left, gfxScreen->pages[0] + 3 * bpp, bpp);
    std::memcpy(&right, gfxScreen->pages[0] + 4 * bpp, bpp);
    EXPECT_EQ(left, before) << c.depth;
    EXPECT_EQ(right, c.depth == 32 ? 0x00123456u : c.opaque) << c.depth;
    destroyImage(image);
  }
}

TEST_F(DrawImageTest, ThirtyTwoBitSkipsMagentaOfAnyAlpha) {
  openNullScreen();
  void* image = createImage(3, 1, 0, 32, 0);
  setPixel<uint32_t>(image, 0, 0, 0x00FF00FF);
  setPixel<uint32_t>(image, 1, 0, 0x7FFF00FF);
  setPixel<uint32_t>(image, 2, 0, 0xFF123456);
  EXPECT_EQ(draw(image, 0, 0), 0);
  EXPECT_EQ(screenPixel(0, 0), screenBlack);
  EXPECT_EQ(screenPixel(1, 0), screenBlack);
  EXPECT_EQ(screenPixel(2, 0), 0x00123456u);
  destroyImage(image);
}

TEST_F(DrawImageTest, ImageTargetsClipToTheImageAndMarkNoRows) {
  openNullScreen();
  void* image = numberedImage(4, 4);
  void* target = createImage(6, 5, 0x11, 32, 0);
  clearDirtyRows();
  EXPECT_EQ(draw(image, 3, 3, notGiven, 0, 0, 0, 0, 0, target), 0);
  EXPECT_EQ(pixelAt(target, 3, 3), pictureAt(0, 0));
  EXPECT_EQ(pixelAt(target, 5, 4), pictureAt(2, 1));
  EXPECT_EQ(pixelAt(target, 2, 3), 0x11u);
  EXPECT_EQ(dirtyRowCount(), 0);
  EXPECT_EQ(currentContext().target, target);
  // A header rewritten in place is read afresh on the next draw.
  int32_t smaller[2] = {2, 2};
  std::memcpy(static_cast<uint8_t*>(target) + 8, smaller, sizeof smaller);
  setPixel<uint32_t>(target, 0, 2, 0x22);  // now past the last row
  EXPECT_EQ(draw(image, 0, 0, notGiven, 0, 0, 0, 0, 0, target), 0);
  EXPECT_EQ(pixelAt(target, 1, 1), pictureAt(1, 1));
  EXPECT_EQ(pixelAt(target, 0, 2), 0x22u);
  destroyImage(image);
  destroyImage(target);
}

TEST_F(DrawImageTest, ShortHeaderSourceTakesTheTargetDepth) {
  openNullScreen(64, 48, 16);
  // Width 3, depth bits 0, height 2; pixels follow without padding.
  uint16_t image[2 + 6] = {3 << 3, 2, 0x1111, 0xF81F, 0x3333, 0x4444, 0x5555, 0x6666};
  EXPECT_EQ(draw(image, 1, 1), 0);
  EXPECT_EQ(screenPixel<uint16_t>(1, 1), 0x1111);
  EXPECT_EQ(screenPixel<uint16_t>(2, 1), 0);
  EXPECT_EQ(screenPixel<uint16_t>(3, 2), 0x6666);
  uint16_t wrongDepth[2 + 3] = {3 << 3 | 4, 1, 1, 2, 3};
  EXPECT_EQ(draw(wrongDepth, 1, 1), errBadCall);
}

}  // namespace krgfx
