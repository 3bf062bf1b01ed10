// The AVX2 half of the ScaledBlitterTable, chosen at run time on processors
// with AVX2. At scale 2, 32 and 16-bit pixels are widened a register at a
// time by interleaving it with itself, and each widened register is stored
// into both rows of its block. Other scales widen one pixel per step with
// stores of the pixel repeated and copy the first row down the block.
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

template <int32_t Bytes>
AVX2 void widenPairs(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width) {
  constexpr int32_t step = vectorBytes / Bytes;
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x * Bytes));
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
    for (int32_t line = 0; line < 2; ++line) {
      uint8_t* at = out + line * pitch + 2 * x * Bytes;
      store(at, low);
      store(at + vectorBytes, high);
    }
  }
  for (int32_t line = 0; line < 2; ++line)
    widenPixels<Bytes>(out + line * pitch + 2 * x * Bytes, in, x, width, 2);
}

// One pixel per step. A block shorter than a store spills into the next
// block, which is written after it; the pixels whose stores would pass the
// row's end go the plain way.
template <int32_t Bytes>
AVX2 void widenEach(uint8_t* out, const uint8_t* in, int32_t width, int32_t scale) {
  const ptrdiff_t block = scale * Bytes, rowEnd = block * width;
  const ptrdiff_t span = (block + vectorBytes - 1) / vectorBytes * vectorBytes;
  int32_t x = 0;
  for (; x < width && x * block + span <= rowEnd; ++x) {
    __m256i value = repeated<Bytes>(in + x * Bytes);
    for (ptrdiff_t offset = 0; offset < block; offset += vectorBytes)
      store(out + x * block + offset, value);
  }
  widenPixels<Bytes>(out + x * block, in, x, width, scale);
}

template <int32_t Bytes>
struct Avx2Rows {
  AVX2 static void pairs(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width) {
    widenPairs<Bytes>(out, pitch, in, width);
  }
  AVX2 static void each(uint8_t* out, const uint8_t* in, int32_t width, int32_t scale) {
    widenEach<Bytes>(out, in, width, scale);
  }
};

template <int32_t Bytes>
using Avx2Widener = VectorWidener<Bytes, Avx2Rows>;

}  // namespace

const ScaledHalf avx2ScaledBlitters = scaledHalf<24, Avx2Widener>(std::make_index_sequence<24>());

}  // namespace blitters

}  // namespace krgfx
