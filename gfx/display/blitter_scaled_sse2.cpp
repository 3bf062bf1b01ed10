// The SSE2 half of the ScaledBlitterTable. At scale 2, 32 and 16-bit pixels
// are widened a register at a time by interleaving it with itself, and each
// widened register is stored into both rows of its block.
// Other scales widen one pixel per step with stores of the pixel repeated
// and copy the first row down the block.
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

// Scale 2 of 32 and 16-bit pixels; the pixels past the last whole register
// one at a time.
template <int32_t Bytes>
void widenPairs(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width) {
  constexpr int32_t step = vectorBytes / Bytes;
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x * Bytes));
    __m128i low = Bytes == 4 ? _mm_unpacklo_epi32(pixels, pixels)
                             : _mm_unpacklo_epi16(pixels, pixels);
    __m128i high = Bytes == 4 ? _mm_unpackhi_epi32(pixels, pixels)
                              : _mm_unpackhi_epi16(pixels, pixels);
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
void widenEach(uint8_t* out, const uint8_t* in, int32_t width, int32_t scale) {
  const ptrdiff_t block = scale * Bytes, rowEnd = block * width;
  const ptrdiff_t span = (block + vectorBytes - 1) / vectorBytes * vectorBytes;
  int32_t x = 0;
  for (; x < width && x * block + span <= rowEnd; ++x) {
    __m128i value = repeated<Bytes>(in + x * Bytes);
    for (ptrdiff_t offset = 0; offset < block; offset += vectorBytes)
      store(out + x * block + offset, value);
  }
  widenPixels<Bytes>(out + x * block, in, x, width, scale);
}

template <int32_t Bytes>
struct Sse2Rows {
  static void pairs(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width) {
    widenPairs<Bytes>(out, pitch, in, width);
  }
  static void each(uint8_t* out, const uint8_t* in, int32_t width, int32_t scale) {
    widenEach<Bytes>(out, in, width, scale);
  }
};

template <int32_t Bytes>
using Sse2Widener = VectorWidener<Bytes, Sse2Rows>;

}  // namespace

const ScaledHalf sse2ScaledBlitters = scaledHalf<24, Sse2Widener>(std::make_index_sequence<24>());

}  // namespace blitters

}  // namespace krgfx
