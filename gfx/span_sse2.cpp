// SSE2 forms of the span fill, copy and blend routines.
#include <emmintrin.h>

#include <cstring>

#include "gfx/depth_routines.h"

namespace krgfx {

namespace spans {

namespace {
// Four vectors (64 bytes) at a time, stored only where they do not hold the
// value already: a page cleared frame after frame mostly does, and a line
// read and left alone costs less than one written (and later written back).
template <typename Pixel>
void fillVector(uint8_t* first, __m128i block, Pixel value, int32_t count) {
  constexpr int32_t perBlock = 16 / sizeof(Pixel);
  int32_t i = 0;
  for (; i + 4 * perBlock <= count; i += 4 * perBlock) {
    auto* at = reinterpret_cast<__m128i*>(first + i * sizeof(Pixel));
    __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(at), block),
                                               _mm_cmpeq_epi8(_mm_loadu_si128(at + 1), block)),
                                 _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(at + 2), block),
                                               _mm_cmpeq_epi8(_mm_loadu_si128(at + 3), block)));
    if (_mm_movemask_epi8(same) == 0xFFFF) continue;
    for (int32_t k = 0; k < 4; ++k) _mm_storeu_si128(at + k, block);
  }
  for (; i + perBlock <= count; i += perBlock)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(first + i * sizeof(Pixel)), block);
  for (; i < count; ++i) std::memcpy(first + i * sizeof(Pixel), &value, sizeof(Pixel));
}
}  // namespace

void fill16Sse2(uint8_t* first, uint32_t colour, int32_t count) {
  auto value = static_cast<uint16_t>(colour);
  fillVector<uint16_t>(first, _mm_set1_epi16(static_cast<short>(value)), value, count);
}

void fill32Sse2(uint8_t* first, uint32_t colour, int32_t count) {
  fillVector<uint32_t>(first, _mm_set1_epi32(static_cast<int>(colour)), colour, count);
}

void fillBytesSse2(void* destination, uint8_t value, size_t bytes) {
  auto* out = static_cast<uint8_t*>(destination);
  __m128i block = _mm_set1_epi8(static_cast<char>(value));
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), block);
  for (; i < bytes; ++i) out[i] = value;
}

void copySse2(void* destination, const void* source, size_t bytes) {
  auto* out = static_cast<uint8_t*>(destination);
  const auto* in = static_cast<const uint8_t*>(source);
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)));
  if (i < bytes) std::memcpy(out + i, in + i, bytes - i);
}

void copyChangedSse2(void* destination, const void* source, size_t bytes) {
  auto* out = static_cast<__m128i*>(destination);
  const auto* in = static_cast<const __m128i*>(source);
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64, out += 4, in += 4) {
    __m128i a = _mm_loadu_si128(in), b = _mm_loadu_si128(in + 1);
    __m128i c = _mm_loadu_si128(in + 2), d = _mm_loadu_si128(in + 3);
    __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(a, _mm_loadu_si128(out)),
                                               _mm_cmpeq_epi8(b, _mm_loadu_si128(out + 1))),
                                 _mm_and_si128(_mm_cmpeq_epi8(c, _mm_loadu_si128(out + 2)),
                                               _mm_cmpeq_epi8(d, _mm_loadu_si128(out + 3))));
    if (_mm_movemask_epi8(same) == 0xFFFF) continue;
    _mm_storeu_si128(out, a), _mm_storeu_si128(out + 1, b);
    _mm_storeu_si128(out + 2, c), _mm_storeu_si128(out + 3, d);
  }
  copyChangedPlain(out, in, bytes - i);
}

void blendFill32Sse2(uint8_t* first, uint32_t colour, int32_t count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i source = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
  const __m128i alpha = _mm_set1_epi16(static_cast<short>(colour >> 24));
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    auto* at = reinterpret_cast<__m128i*>(first + 4 * i);
    __m128i pixels = _mm_loadu_si128(at);
    __m128i halves[2] = {_mm_unpacklo_epi8(pixels, zero), _mm_unpackhi_epi8(pixels, zero)};
    for (__m128i& lanes : halves) {
      __m128i product = _mm_mullo_epi16(_mm_sub_epi16(source, lanes), alpha);
      lanes = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(lanes, 8), product), 8);
    }
    _mm_storeu_si128(at, _mm_packus_epi16(halves[0], halves[1]));
  }
  for (; i < count; ++i) {
    uint32_t pixel;
    std::memcpy(&pixel, first + 4 * i, 4);
    pixel = blendLanes(colour, pixel);
    std::memcpy(first + 4 * i, &pixel, 4);
  }
}

}  // namespace spans

}  // namespace krgfx
