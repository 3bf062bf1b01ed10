// AVX2 forms of the span fill, copy and blend routines, chosen at run time
// when the processor has AVX2.
#include <immintrin.h>

#include <cstring>

#include "gfx/depth_routines.h"

namespace krgfx {

#define AVX2 __attribute__((target("avx2")))

namespace spans {

namespace {
// Four vectors (128 bytes) at a time, stored only where they do not hold the
// value already: a page cleared frame after frame mostly does, and a line
// read and left alone costs less than one written (and later written back).
template <typename Pixel>
AVX2 void fillVector(uint8_t* first, __m256i block, Pixel value, int32_t count) {
  constexpr int32_t perBlock = 32 / sizeof(Pixel);
  int32_t i = 0;
  for (; i + 4 * perBlock <= count; i += 4 * perBlock) {
    auto* at = reinterpret_cast<__m256i*>(first + i * sizeof(Pixel));
    __m256i same = _mm256_and_si256(
        _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(at), block),
                         _mm256_cmpeq_epi8(_mm256_loadu_si256(at + 1), block)),
        _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(at + 2), block),
                         _mm256_cmpeq_epi8(_mm256_loadu_si256(at + 3), block)));
    if (_mm256_movemask_epi8(same) == -1) continue;
    for (int32_t k = 0; k < 4; ++k) _mm256_storeu_si256(at + k, block);
  }
  for (; i + perBlock <= count; i += perBlock)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(first + i * sizeof(Pixel)), block);
  for (; i < count; ++i) std::memcpy(first + i * sizeof(Pixel), &value, sizeof(Pixel));
}
}  // namespace

AVX2 void fill16Avx2(uint8_t* first, uint32_t colour, int32_t count) {
  auto value = static_cast<uint16_t>(colour);
  fillVector<uint16_t>(first, _mm256_set1_epi16(static_cast<short>(value)), value, count);
}

AVX2 void fill32Avx2(uint8_t* first, uint32_t colour, int32_t count) {
  fillVector<uint32_t>(first, _mm256_set1_epi32(static_cast<int>(colour)), colour, count);
}

AVX2 void fillBytesAvx2(void* destination, uint8_t value, size_t bytes) {
  auto* out = static_cast<uint8_t*>(destination);
  __m256i block = _mm256_set1_epi8(static_cast<char>(value));
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), block);
  for (; i < bytes; ++i) out[i] = value;
}

AVX2 void copyAvx2(void* destination, const void* source, size_t bytes) {
  auto* out = static_cast<uint8_t*>(destination);
  const auto* in = static_cast<const uint8_t*>(source);
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)));
  if (i < bytes) std::memcpy(out + i, in + i, bytes - i);
}

AVX2 void copyChangedAvx2(void* destination, const void* source, size_t bytes) {
  auto* out = static_cast<__m256i*>(destination);
  const auto* in = static_cast<const __m256i*>(source);
  size_t i = 0;
  for (; i + 128 <= bytes; i += 128, out += 4, in += 4) {
    __m256i a = _mm256_loadu_si256(in), b = _mm256_loadu_si256(in + 1);
    __m256i c = _mm256_loadu_si256(in + 2), d = _mm256_loadu_si256(in + 3);
    __m256i same = _mm256_and_si256(
        _mm256_and_si256(_mm256_cmpeq_epi8(a, _mm256_loadu_si256(out)),
                         _mm256_cmpeq_epi8(b, _mm256_loadu_si256(out + 1))),
        _mm256_and_si256(_mm256_cmpeq_epi8(c, _mm256_loadu_si256(out + 2)),
                         _mm256_cmpeq_epi8(d, _mm256_loadu_si256(out + 3))));
    if (_mm256_movemask_epi8(same) == -1) continue;
    _mm256_storeu_si256(out, a), _mm256_storeu_si256(out + 1, b);
    _mm256_storeu_si256(out + 2, c), _mm256_storeu_si256(out + 3, d);
  }
  copyChangedPlain(out, in, bytes - i);
}

AVX2 void blendFill32Avx2(uint8_t* first, uint32_t colour, int32_t count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i source = _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(colour)), zero);
  const __m256i alpha = _mm256_set1_epi16(static_cast<short>(colour >> 24));
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    auto* at = reinterpret_cast<__m256i*>(first + 4 * i);
    __m256i pixels = _mm256_loadu_si256(at);
    __m256i halves[2] = {_mm256_unpacklo_epi8(pixels, zero), _mm256_unpackhi_epi8(pixels, zero)};
    for (__m256i& lanes : halves) {
      __m256i product = _mm256_mullo_epi16(_mm256_sub_epi16(source, lanes), alpha);
      lanes = _mm256_srli_epi16(_mm256_add_epi16(_mm256_slli_epi16(lanes, 8), product), 8);
    }
    _mm256_storeu_si256(at, _mm256_packus_epi16(halves[0], halves[1]));
  }
  blendFill32Sse2(first + 4 * i, colour, count - i);
}

}  // namespace spans

}  // namespace krgfx
