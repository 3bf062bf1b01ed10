// AVX2 forms of the row combiners, chosen at run time when the processor has
// AVX2: the same compare-and-merge as the SSE2 forms on 32-byte blocks (for
// 32-bit pixels a masked store).
#include <immintrin.h>

#include <cstddef>

#include "gfx/image/row_combiners.h"

namespace krgfx {

#define AVX2 __attribute__((target("avx2")))

namespace combiners {

namespace {

AVX2 __m256i load(const uint8_t* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
AVX2 void store(uint8_t* at, __m256i value) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
}

AVX2 void merge(__m256i source, uint8_t* destination, __m256i mask) {
  store(destination, _mm256_blendv_epi8(source, load(destination), mask));
}

struct Block8 {
  static constexpr int32_t pixels = 32, sourceSize = 1, destinationSize = 1;
  AVX2 static void combine(const uint8_t* source, uint8_t* destination) {
    __m256i values = load(source);
    merge(values, destination, _mm256_cmpeq_epi8(values, _mm256_setzero_si256()));
  }
  static void pixel(const uint8_t* source, uint8_t* destination) {
    transparentPixel8(source, destination);
  }
};

struct Block16 {
  static constexpr int32_t pixels = 16, sourceSize = 2, destinationSize = 2;
  AVX2 static void combine(const uint8_t* source, uint8_t* destination) {
    __m256i values = load(source);
    __m256i key = _mm256_set1_epi16(static_cast<short>(transparentFill16));
    merge(values, destination, _mm256_cmpeq_epi16(values, key));
  }
  static void pixel(const uint8_t* source, uint8_t* destination) {
    transparentPixel16(source, destination);
  }
};

struct Block32 {
  static constexpr int32_t pixels = 8, sourceSize = 4, destinationSize = 4;
  AVX2 static void combine(const uint8_t* source, uint8_t* destination) {
    __m256i colours = _mm256_and_si256(load(source), _mm256_set1_epi32(colourBits32));
    __m256i key = _mm256_set1_epi32(transparentColour32);
    // A masked store leaves the transparent pixels alone without reading the
    // destination first, which saves a load per block on scattered sprites.
    __m256i opaque = _mm256_xor_si256(_mm256_cmpeq_epi32(colours, key), _mm256_set1_epi32(-1));
    _mm256_maskstore_epi32(reinterpret_cast<int*>(destination), opaque, colours);
  }
  static void pixel(const uint8_t* source, uint8_t* destination) {
    transparentPixel32(source, destination);
  }
};

struct BlockAlphaMask {
  static constexpr int32_t pixels = 8, sourceSize = 1, destinationSize = 4;
  AVX2 static void combine(const uint8_t* source, uint8_t* destination) {
    __m128i mask = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source));
    __m256i alphas = _mm256_slli_epi32(_mm256_cvtepu8_epi32(mask), 24);
    __m256i colours = _mm256_and_si256(load(destination), _mm256_set1_epi32(colourBits32));
    store(destination, _mm256_or_si256(colours, alphas));
  }
  static void pixel(const uint8_t* source, uint8_t* destination) {
    alphaMaskPixel(source, destination);
  }
};

template <typename Block>
AVX2 void walkRowsAvx2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                       int32_t sourcePitch, int32_t destinationPitch) {
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* in = source + static_cast<ptrdiff_t>(row) * sourcePitch;
    uint8_t* out = destination + static_cast<ptrdiff_t>(row) * destinationPitch;
    int32_t x = 0;
    for (; x + Block::pixels <= width; x += Block::pixels)
      Block::combine(in + x * Block::sourceSize, out + x * Block::destinationSize);
    for (; x < width; ++x)
      Block::pixel(in + x * Block::sourceSize, out + x * Block::destinationSize);
  }
  _mm256_zeroupper();
}

}  // namespace

AVX2 void transparent8Avx2(const uint8_t* source, uint8_t* destination, int32_t width,
                           int32_t height, int32_t sourcePitch, int32_t destinationPitch, int32_t,
                           void*, void*) {
  walkRowsAvx2<Block8>(source, destination, width, height, sourcePitch, destinationPitch);
}

AVX2 void transparent16Avx2(const uint8_t* source, uint8_t* destination, int32_t width,
                            int32_t height, int32_t sourcePitch, int32_t destinationPitch, int32_t,
                            void*, void*) {
  walkRowsAvx2<Block16>(source, destination, width, height, sourcePitch, destinationPitch);
}

AVX2 void transparent32Avx2(const uint8_t* source, uint8_t* destination, int32_t width,
                            int32_t height, int32_t sourcePitch, int32_t destinationPitch, int32_t,
                            void*, void*) {
  walkRowsAvx2<Block32>(source, destination, width, height, sourcePitch, destinationPitch);
}

AVX2 void alphaMaskAvx2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                        int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  walkRowsAvx2<BlockAlphaMask>(source, destination, width, height, sourcePitch, destinationPitch);
}

}  // namespace combiners

}  // namespace krgfx
