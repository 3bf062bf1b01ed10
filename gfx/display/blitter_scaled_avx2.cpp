// The AVX2 half of the ScaledBlitterTable, chosen at run time on processors
// with AVX2: rows are widened eight 32-bit or sixteen 16-bit pixels per step
// at scale 2, and at other scales one pixel per step with 32-byte stores of
// the pixel repeated.
#include <immintrin.h>

#include "gfx/display/blitter_rows.h"

#define AVX2 __attribute__((target("avx2")))

namespace krgfx {

namespace blitters {

namespace {

constexpr int32_t vectorBytes = 32;

template <int32_t Bytes>
AVX2 __m256i repeated(const uint8_t* pixel) {
  uint32_t value = 0;
  std::memcpy(&value, pixel, Bytes);
  if constexpr (Bytes == 4) return _mm256_set1_epi32(static_cast<int>(value));
  if constexpr (Bytes == 2) return _mm256_set1_epi16(static_cast<short>(value));
  return _mm256_set1_epi8(static_cast<char>(value));
}

AVX2 void store(uint8_t* at, __m256i value) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
}

// Pixels from `end` down to 0, each filling its block of `scale` pixels with
// stores of the pixel repeated. A block shorter than a store spills into the
// blocks to its left, which are written later; where such a store would
// reach pixels not yet read, the plain routine takes over.
template <int32_t Bytes>
AVX2 void widenEach(uint8_t* row, int32_t end, int32_t scale) {
  const int32_t block = scale * Bytes;
  int32_t x = end - 1;
  for (; x >= 0; --x) {
    const ptrdiff_t start = static_cast<ptrdiff_t>(x) * block;
    if (start + block - vectorBytes < static_cast<ptrdiff_t>(x) * Bytes) break;
    __m256i value = repeated<Bytes>(row + x * Bytes);
    for (int32_t offset = 0; offset + vectorBytes <= block; offset += vectorBytes)
      store(row + start + offset, value);
    store(row + start + block - vectorBytes, value);
  }
  PlainExpander<Bytes>::row(row, x + 1, scale);
}

// Scale 2 of 32 and 16-bit pixels: a register of pixels is interleaved with
// itself. The pixels past the last whole register go first, one at a time.
template <int32_t Bytes>
AVX2 void widenPairs(uint8_t* row, int32_t width) {
  constexpr int32_t step = vectorBytes / Bytes;
  const int32_t whole = width - width % step;
  for (int32_t x = width - 1; x >= whole; --x) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + x * Bytes, Bytes);
    std::memcpy(row + 2 * x * Bytes, &pixel, Bytes);
    std::memcpy(row + (2 * x + 1) * Bytes, &pixel, Bytes);
  }
  for (int32_t x = whole - step; x >= 0; x -= step) {
    __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x * Bytes));
    __m256i low, high;
    if constexpr (Bytes == 4) {
      low = _mm256_permutevar8x32_epi32(pixels, _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3));
      high = _mm256_permutevar8x32_epi32(pixels, _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7));
    } else {
      // The 16-bit interleave works within each 128-bit half.
      __m256i first = _mm256_unpacklo_epi16(pixels, pixels);
      __m256i second = _mm256_unpackhi_epi16(pixels, pixels);
      low = _mm256_permute2x128_si256(first, second, 0x20);
      high = _mm256_permute2x128_si256(first, second, 0x31);
    }
    store(row + 2 * x * Bytes + vectorBytes, high);
    store(row + 2 * x * Bytes, low);
  }
}

template <int32_t Bytes>
struct Avx2Expander {
  AVX2 static void row(uint8_t* row, int32_t width, int32_t scale) {
    if constexpr (Bytes == 3) {
      PlainExpander<3>::row(row, width, scale);
    } else if constexpr (Bytes != 1) {
      if (scale == 2) return widenPairs<Bytes>(row, width);
      widenEach<Bytes>(row, width, scale);
    } else {
      widenEach<1>(row, width, scale);
    }
  }
};

}  // namespace

const ScaledHalf avx2ScaledBlitters = scaledHalf<24, Avx2Expander>(std::make_index_sequence<24>());

}  // namespace blitters

}  // namespace krgfx
