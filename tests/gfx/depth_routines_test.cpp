#include "gfx/depth_routines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
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

TEST(SpanRoutines, VectorFillsOverSpansThatMostlyHoldTheColourAlready) {
  // The vector fills skip blocks that hold the colour: one stale pixel
  // anywhere in a block, or a colour whose bytes differ only in one pixel
  // size, must still be written.
  std::vector<std::pair<Fill, int32_t>> fills = {{spans::fill16Sse2, 2}, {spans::fill32Sse2, 4}};
  if (haveAvx2()) fills.insert(fills.end(), {{spans::fill16Avx2, 2}, {spans::fill32Avx2, 4}});
  std::mt19937 random(99);
  for (auto [fill, size] : fills) {
    for (int32_t count : {32, 64, 95, 128, 300}) {
      for (int32_t trial = 0; trial < 40; ++trial) {
        uint32_t colour = random();
        std::vector<uint8_t> span(count * size + 32), expected;
        for (size_t at = 0; at < span.size(); at += size) std::memcpy(&span[at], &colour, size);
        int32_t offset = 4 + static_cast<int32_t>(random() % 4);  // after a guard byte
        span[offset + random() % (count * size)] ^= static_cast<uint8_t>(1 + random() % 255);
        span.front() = 0x11, span.back() = 0x22;  // guards
        expected = span;
        (size == 2 ? spans::fill16Plain : spans::fill32Plain)(expected.data() + offset, colour,
                                                              count);
        fill(span.data() + offset, colour, count);
        ASSERT_EQ(span, expected) << "size " << size << ", count " << count;
      }
    }
  }
}

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

TEST(SpanRoutines, ChangedCopiesLeaveTheDestinationEqualToTheSource) {
  // Destinations that hold the source already except for a few bytes (one
  // differing byte anywhere in a stretch must still bring the stretch over),
  // and destinations that hold nothing of it.
  using Copy = void (*)(void*, const void*, size_t);
  std::vector<Copy> forms = {spans::copyChangedPlain, spans::copyChangedSse2};
  if (haveAvx2()) forms.push_back(spans::copyChangedAvx2);
  std::mt19937 random(77);
  for (Copy copy : forms) {
    for (size_t bytes : {0, 1, 63, 64, 127, 128, 129, 200, 3200, 3203}) {
      for (int32_t trial = 0; trial < 20; ++trial) {
        std::vector<uint8_t> source(bytes + 8), destination(bytes + 8);
        for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
        size_t offset = random() % 4;
        destination = source;
        for (int32_t changes = trial % 4; changes > 0 && bytes > 0; --changes)
          source[offset + random() % bytes] ^= static_cast<uint8_t>(1 + random() % 255);
        if (trial == 19)
          for (uint8_t& byte : destination) byte = static_cast<uint8_t>(random());
        std::vector<uint8_t> expected = destination;
        std::memcpy(expected.data() + offset, source.data() + offset, bytes);
        copy(destination.data() + offset, source.data() + offset, bytes);
        ASSERT_EQ(destination, expected) << bytes << " bytes, trial " << trial;
      }
    }
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
