// The SSE2 half of the ScaledBlitterTable: rows are widened four 32-bit or
// eight 16-bit pixels per step at scale 2, and at other scales one pixel per
// step with 16-byte stores of the pixel repeated.
#include <emmintrin.h>

#include "gfx/display/blitter_rows.h"

namespace krgfx {

namespace blitters {

namespace {

constexpr int32_t vectorBytes = 16;

template <int32_t Bytes>
__m128i repeated(const uint8_t* pixel) {
  uint32_t value = 0;
  std::memcpy(&value, pixel, Bytes);
  if constexpr (Bytes == 4) return _mm_set1_epi32(static_cast<int>(value));
  if constexpr (Bytes == 2) return _mm_set1_epi16(static_cast<short>(value));
  return _mm_set1_epi8(static_cast<char>(value));
}

void store(uint8_t* at, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value); }

// Pixels from `end` down to 0, each filling its block of `scale` pixels with
// stores of the pixel repeated. A block shorter than a store spills into the
// blocks to its left, which are written later; where such a store would
// reach pixels not yet read, the plain routine takes over.
template <int32_t Bytes>
void widenEach(uint8_t* row, int32_t end, int32_t scale) {
  const int32_t block = scale * Bytes;
  int32_t x = end - 1;
  for (; x >= 0; --x) {
    const ptrdiff_t start = static_cast<ptrdiff_t>(x) * block;
    if (start + block - vectorBytes < static_cast<ptrdiff_t>(x) * Bytes) break;
    __m128i value = repeated<Bytes>(row + x * Bytes);
    for (int32_t offset = 0; offset + vectorBytes <= block; offset += vectorBytes)
      store(row + start + offset, value);
    store(row + start + block - vectorBytes, value);
  }
  PlainExpander<Bytes>::row(row, x + 1, scale);
}

// Scale 2 of 32 and 16-bit pixels: a register of pixels is interleaved with
// itself. The pixels past the last whole register go first, one at a time.
template <int32_t Bytes>
void widenPairs(uint8_t* row, int32_t width) {
  constexpr int32_t step = vectorBytes / Bytes;
  const int32_t whole = width - width % step;
  for (int32_t x = width - 1; x >= whole; --x) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + x * Bytes, Bytes);
    std::memcpy(row + 2 * x * Bytes, &pixel, Bytes);
    std::memcpy(row + (2 * x + 1) * Bytes, &pixel, Bytes);
  }
  for (int32_t x = whole - step; x >= 0; x -= step) {
    __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x * Bytes));
    __m128i low = Bytes == 4 ? _mm_unpacklo_epi32(pixels, pixels)
                             : _mm_unpacklo_epi16(pixels, pixels);
    __m128i high = Bytes == 4 ? _mm_unpackhi_epi32(pixels, pixels)
                              : _mm_unpackhi_epi16(pixels, pixels);
    store(row + 2 * x * Bytes + vectorBytes, high);
    store(row + 2 * x * Bytes, low);
  }
}

template <int32_t Bytes>
struct Sse2Expander {
  static void row(uint8_t* row, int32_t width, int32_t scale) {
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

const ScaledHalf sse2ScaledBlitters = scaledHalf<24, Sse2Expander>(std::make_index_sequence<24>());

}  // namespace blitters

}  // namespace krgfx
