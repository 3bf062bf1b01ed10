#include "gfx/depth_routines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "gfx/cpu_features.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

using Fill = void (*)(uint8_t*, uint32_t, int32_t);

bool haveAvx2() {
  clearVectorLevelOverride();
  return vectorLevel() == VectorLevel::avx2;
}

// Runs a routine and its reference over the same random bytes at every count
// 0 to 67 and start offsets 0 to 3, with guard bytes on both sides.
template <typename Run>
void compareOnRandomBuffers(int32_t pixelSize, Run run) {
  std::mt19937 random(1234);
  for (int32_t count = 0; count <= 67; ++count) {
    for (int32_t offset = 0; offset < 4; ++offset) {
      std::vector<uint8_t> reference(count * pixelSize + 64);
      for (uint8_t& byte : reference) byte = static_cast<uint8_t>(random());
      std::vector<uint8_t> tested = reference;
      uint32_t colour = random();
      run(reference.data() + 16 + offset, tested.data() + 16 + offset, colour, count);
      ASSERT_EQ(reference, tested) << "count " << count << " offset " << offset;
    }
  }
}

void compareFills(Fill plain, Fill vector, int32_t pixelSize) {
  compareOnRandomBuffers(pixelSize, [&](uint8_t* a, uint8_t* b, uint32_t colour, int32_t n) {
    plain(a, colour, n);
    vector(b, colour, n);
  });
}

void blendLanesReference(uint8_t* first, uint32_t colour, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    uint32_t pixel;
    std::memcpy(&pixel, first + 4 * i, 4);
    pixel = blendLanes(colour, pixel);
    std::memcpy(first + 4 * i, &pixel, 4);
  }
}

}  // namespace

TEST(SpanRoutines, VectorFillsMatchThePlainOnes) {
  compareFills(spans::fill16Plain, spans::fill16Sse2, 2);
  compareFills(spans::fill32Plain, spans::fill32Sse2, 4);
  if (!haveAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
  compareFills(spans::fill16Plain, spans::fill16Avx2, 2);
  compareFills(spans::fill32Plain, spans::fill32Avx2, 4);
}

TEST(SpanRoutines, VectorBlockCopyAndFillMatchThePlainOnes) {
  using Copy = void (*)(void*, const void*, size_t);
  using Bytes = void (*)(void*, uint8_t, size_t);
  std::vector<std::pair<Copy, Bytes>> forms = {{spans::copySse2, spans::fillBytesSse2}};
  if (haveAvx2()) forms.push_back({spans::copyAvx2, spans::fillBytesAvx2});
  for (const auto& form : forms) {
    Copy copy = form.first;  // (clang 14 cannot capture a structured binding)
    Bytes fill = form.second;
    compareOnRandomBuffers(1, [&](uint8_t* a, uint8_t* b, uint32_t colour, int32_t n) {
      std::vector<uint8_t> source(n + 7, static_cast<uint8_t>(colour));
      for (int32_t i = 0; i < n; ++i) source[i + 3] = static_cast<uint8_t>(colour * i);
      spans::copyPlain(a, source.data() + 3, n);
      copy(b, source.data() + 3, n);
    });
    compareOnRandomBuffers(1, [&](uint8_t* a, uint8_t* b, uint32_t colour, int32_t n) {
      spans::fillBytesPlain(a, static_cast<uint8_t>(colour), n);
      fill(b, static_cast<uint8_t>(colour), n);
    });
  }
}

TEST(SpanRoutines, VectorBlendsComputeTheLaneFormula) {
  compareFills(blendLanesReference, spans::blendFill32Sse2, 4);
  if (!haveAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
  compareFills(blendLanesReference, spans::blendFill32Avx2, 4);
}

TEST(SpanRoutines, BlendFormulas) {
  // Half-transparent white over black: colour channels halfway, alpha kept.
  EXPECT_EQ(blendPlain(0x80FFFFFF, 0xFF000000), 0x807F7F7Fu);
  // The lane form blends alpha too.
  EXPECT_EQ(blendLanes(0x80FFFFFF, 0xFF000000), 0xBF7F7F7Fu);
  EXPECT_EQ(blendPlain(0xFF123456, 0xFFABCDEF), 0xFF123456u);
  EXPECT_EQ(blendPlain(0x00123456, 0xFFABCDEF), 0x00ABCDEFu);
  std::mt19937 random(99);
  for (int i = 0; i < 1000; ++i) {
    uint32_t s = random(), d = random();
    std::vector<uint8_t> a(4), b(4);
    std::memcpy(a.data(), &d, 4);
    b = a;
    spans::blendFill32Plain(a.data(), s, 1);
    uint32_t expected = blendPlain(s, d), got;
    std::memcpy(&got, a.data(), 4);
    ASSERT_EQ(got, expected);
  }
}

using DepthSelection = ScreenTest;

TEST_F(DepthSelection, VectorFormsAreChosenAndMarkTheScreen) {
  GfxScreen& screen = openNullScreen(64, 64, 16);
  EXPECT_TRUE(screen.flags & screenMmx);
  EXPECT_NE(depthRoutines.fillSpan, spans::fill16Plain);
  overrideVectorLevel(VectorLevel::plain);
  GfxScreen& plainScreen = openNullScreen(64, 64, 16);
  EXPECT_FALSE(plainScreen.flags & screenMmx);
  EXPECT_EQ(depthRoutines.fillSpan, spans::fill16Plain);
  EXPECT_EQ(blockCopy, spans::copyPlain);
}

}  // namespace krgfx
