#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <krgfx/gfx.h>
#include "gfx/cpu_features.h"
#include "gfx/display/blitter.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

constexpr int32_t displayDepths[5] = {8, 15, 16, 24, 32};

int32_t bytesOf(int32_t displayDepth) {
  return displayDepth == 8 ? 1 : displayDepth == 24 ? 3 : displayDepth == 32 ? 4 : 2;
}

std::vector<VectorLevel> levels() {
  clearVectorLevelOverride();
  std::vector<VectorLevel> all = {VectorLevel::plain, VectorLevel::sse2};
  if (vectorLevel() == VectorLevel::avx2) all.push_back(VectorLevel::avx2);
  return all;
}

class ScaledBlitters : public ScreenTest {
 protected:
  GfxScreen& open(int32_t width, int32_t height, int32_t depth, int32_t scanlineSize) {
    EXPECT_EQ(applyMode(-1, width, height, depth, scanlineSize, 1, 0, 3, 0, flagNoDisplay, 1.0f,
                        width / 8, height / 8),
              0);
    return *gfxScreen;
  }

  static void randomise(GfxScreen& screen, std::mt19937& random) {
    for (int32_t i = 0; i < screen.pitch * screen.height; ++i)
      screen.visibleFramebuffer[i] = static_cast<uint8_t>(random());
    for (uint32_t& colour : screen.devicePalette) colour = random();
    for (int32_t row = 0; row < screen.height; ++row) screen.dirtyLines[row] = random() % 3 ? 1 : 0;
  }

  // The one-to-one picture of the same level, then the scaled one over a
  // surface of random bytes with a few spare bytes per row: every display
  // pixel of a dirty block is its framebuffer pixel's, every other byte is
  // left as it was.
  static void check(int32_t displayDepth, int32_t order, int32_t scale, std::mt19937& random,
                    const std::string& what) {
    const GfxScreen& screen = *gfxScreen;
    const int32_t bytes = bytesOf(displayDepth), repeat = screen.scanlineSize;
    const int32_t onePitch = screen.width * bytes;
    std::vector<uint8_t> one(static_cast<size_t>(onePitch) * screen.height * repeat);
    Blitter blitter = chooseBlitter(displayDepth, order);
    ScaledBlitter scaled = chooseScaledBlitter(displayDepth, order);
    ASSERT_NE(blitter, nullptr) << what;
    ASSERT_NE(scaled, nullptr) << what;
    blitter(one.data(), onePitch);
    const int32_t pitch = screen.width * bytes * scale + static_cast<int32_t>(random() % 7);
    const int32_t rows = screen.height * repeat * scale;
    std::vector<uint8_t> surface(static_cast<size_t>(pitch) * rows);
    for (uint8_t& byte : surface) byte = static_cast<uint8_t>(random());
    std::vector<uint8_t> expected = surface;
    for (int32_t y = 0; y < rows; ++y) {
      if (!screen.dirtyLines[y / (repeat * scale)]) continue;
      for (int32_t x = 0; x < screen.width * scale; ++x)
        std::memcpy(&expected[static_cast<size_t>(y) * pitch + x * bytes],
                    &one[static_cast<size_t>(y / scale) * onePitch + (x / scale) * bytes], bytes);
    }
    scaled(surface.data(), pitch, scale);
    for (size_t i = 0; i < surface.size(); ++i)
      ASSERT_EQ(surface[i], expected[i])
          << what << ": byte " << i % pitch << " of display row " << i / pitch;
  }

  // Every screen depth class onto every display, at every level, scale and
  // row repeat, over widths that leave every kind of remainder.
  void sweep(std::initializer_list<int32_t> widths, std::initializer_list<int32_t> scales) {
    std::mt19937 random(42);
    for (int32_t width : widths)
      for (int32_t repeat : {1, 2})
        for (int32_t depth : {4, 8, 16, 32}) {
          open(width, 3, depth, repeat);
          randomise(*gfxScreen, random);
          for (int32_t displayDepth : displayDepths) {
            if (displayDepth == 8 && depth > 8) continue;
            for (int32_t order : {0, 1})
              for (int32_t scale : scales)
                for (VectorLevel level : levels()) {
                  overrideVectorLevel(level);
                  check(displayDepth, order, scale, random,
                        "depth " + std::to_string(depth) + " onto " + std::to_string(displayDepth) +
                            " order " + std::to_string(order) + " scale " + std::to_string(scale) +
                            " width " + std::to_string(width) + " repeat " +
                            std::to_string(repeat) + " level " +
                            std::to_string(static_cast<int>(level)));
                  if (HasFatalFailure()) return;
                }
          }
        }
  }
};

}  // namespace

TEST_F(ScaledBlitters, EveryPixelBecomesASquareAtEveryScale) {
  sweep({1, 4, 7, 16, 33}, {1, 2, 3, 4, 5, 6, 7, 8});
}

TEST_F(ScaledBlitters, WideRowsAtTheCommonScales) { sweep({800, 802}, {2, 3}); }

TEST_F(ScaledBlitters, ScalesOutsideOneToEightAreClamped) {
  std::mt19937 random(5);
  GfxScreen& screen = open(8, 2, 32, 1);
  randomise(screen, random);
  std::memset(screen.dirtyLines, 1, 2);
  ScaledBlitter scaled = chooseScaledBlitter(32, 0);
  ASSERT_NE(scaled, nullptr);
  std::vector<uint8_t> tooLarge(8 * 4 * 8 * 2 * 8), largest(tooLarge.size());
  scaled(tooLarge.data(), 8 * 4 * 8, 99);
  scaled(largest.data(), 8 * 4 * 8, maxDisplayScale);
  EXPECT_EQ(tooLarge, largest);
  std::vector<uint8_t> none(8 * 4 * 2), one(none.size());
  scaled(none.data(), 8 * 4, -3);
  chooseBlitter(32, 0)(one.data(), 8 * 4);
  EXPECT_EQ(none, one);
}

TEST_F(ScaledBlitters, NoneWithoutAScreenOrForAnUnknownDisplay) {
  EXPECT_EQ(chooseScaledBlitter(32, 0), nullptr);
  open(16, 2, 32, 1);
  EXPECT_EQ(chooseScaledBlitter(12, 0), nullptr);
  EXPECT_EQ(chooseScaledBlitter(8, 0), nullptr);  // a 32-bit screen on an 8-bit display
}

}  // namespace krgfx
