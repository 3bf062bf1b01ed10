// Palette rows with AVX-512 byte permutes (VBMI), chosen at run time. Each
// byte of the display pixels has its own 256-byte plane in four registers;
// 64 indices look a plane up with two two-register permutes and a blend on
// the indices' top bit, and further permutes interleave the planes into
// display pixels. Row ends go through masked loads and stores.
#include <immintrin.h>

#include <array>

#include "gfx/cpu_features.h"
#include "gfx/display/blitter_palette.h"

#define AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// Small helpers go into the row loops whole.
#define AVX512_INLINE __attribute__((target("avx512f,avx512bw,avx512vbmi"), always_inline)) inline

namespace krgfx {

namespace blitters {

namespace {

// Where each byte of a block of 64 display pixels (`bytes` per pixel) comes
// from: for output vector o, byte t is byte (64o + t) % bytes of pixel
// (64o + t) / bytes. `pairs` picks planes 0 and 1 (pixel, or pixel + 64 for
// plane 1), `third` plane 2; the masks tell which bytes each of them fills.
template <int32_t bytes>
struct Interleave {
  std::array<std::array<uint8_t, 64>, 4> pairs{}, third{};
  std::array<uint64_t, 4> pairMask{}, thirdMask{};
  constexpr Interleave() {
    for (int32_t o = 0; o < bytes; ++o) {
      for (int32_t t = 0; t < 64; ++t) {
        int32_t at = 64 * o + t, pixel = at / bytes, plane = at % bytes;
        pairs[o][t] = static_cast<uint8_t>(pixel + (plane == 1 ? 64 : 0));
        third[o][t] = static_cast<uint8_t>(pixel);
        if (plane < 2) pairMask[o] |= uint64_t{1} << t;
        if (plane == 2) thirdMask[o] |= uint64_t{1} << t;
      }
    }
  }
};

template <int32_t bytes>
constexpr Interleave<bytes> interleave{};

AVX512_INLINE __m512i load64(const uint8_t* at) {
  return _mm512_loadu_si512(reinterpret_cast<const void*>(at));
}

// One byte plane of the shown palette in four registers.
struct Plane {
  __m512i quarter[4];
  AVX512_INLINE explicit Plane(const uint8_t* plane) {
    for (int32_t q = 0; q < 4; ++q) quarter[q] = load64(plane + 64 * q);
  }
  // The plane's bytes for 64 indices; `upper` marks the indices from 128.
  AVX512_INLINE __m512i lookUp(__m512i indices, __mmask64 upper) const {
    __m512i low = _mm512_permutex2var_epi8(quarter[0], indices, quarter[1]);
    __m512i high = _mm512_permutex2var_epi8(quarter[2], indices, quarter[3]);
    return _mm512_mask_blend_epi8(upper, low, high);
  }
};

// The lowest `count` bits, for count 1 to 64.
constexpr uint64_t lowBits(int32_t count) { return ~uint64_t{0} >> (64 - count); }

// Up to 64 pixels (`count`) from the indices at `in` into `out`.
template <int32_t bytes, bool whole>
AVX512_INLINE void convertBlock(uint8_t* out, const uint8_t* in, int32_t count,
                                const Plane (&planes)[3]) {
  constexpr const Interleave<bytes>& order = interleave<bytes>;
  __m512i indices = whole ? load64(in) : _mm512_maskz_loadu_epi8(lowBits(count), in);
  __mmask64 upper = _mm512_movepi8_mask(indices);
  __m512i first = planes[0].lookUp(indices, upper), second = planes[1].lookUp(indices, upper);
  __m512i third = bytes > 2 ? planes[2].lookUp(indices, upper) : first;
  for (int32_t o = 0; o < bytes; ++o) {
    __m512i pairs = load64(order.pairs[o].data());
    __m512i shown = _mm512_maskz_permutex2var_epi8(order.pairMask[o], first, pairs, second);
    if constexpr (bytes > 2)
      shown = _mm512_mask_permutexvar_epi8(shown, order.thirdMask[o], load64(order.third[o].data()),
                                           third);
    int32_t left = bytes * count - 64 * o;  // bytes of this vector to write
    if (whole)
      _mm512_storeu_si512(out + 64 * o, shown);
    else if (left > 0)
      _mm512_mask_storeu_epi8(out + 64 * o, lowBits(left < 64 ? left : 64), shown);
  }
}

template <int32_t bytes>
AVX512 void permuteRow(uint8_t* out, const uint8_t* in, int32_t width, const ShownPalette& shown) {
  const Plane planes[3] = {Plane(shown.planes[0]), Plane(shown.planes[1]),
                           Plane(shown.planes[bytes > 2 ? 2 : 1])};
  int32_t x = 0;
  for (; x + 64 <= width; x += 64) convertBlock<bytes, true>(out + bytes * x, in + x, 64, planes);
  if (x < width) convertBlock<bytes, false>(out + bytes * x, in + x, width - x, planes);
}

}  // namespace

PaletteRow palettePermuteRow(int32_t displayDepth) {
  if (!hasAvx512Vbmi()) return nullptr;
  return displayDepth == 32 ? permuteRow<4> : displayDepth == 24 ? permuteRow<3> : permuteRow<2>;
}

}  // namespace blitters

}  // namespace krgfx
