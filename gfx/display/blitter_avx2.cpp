// The AVX2 half of the BlitterTable, chosen at run time on processors with
// AVX2. Eight pixels per vector as 32-bit lanes, laid out as in the SSE2 half:
// for a 32-bit screen red, green, blue from the top, for a palette screen the
// palette colour (blue, green, red), for a 16-bit screen the work table's
// value, already in the display's order.
#include <immintrin.h>

#include "gfx/display/blitter_rows.h"

#define AVX2 __attribute__((target("avx2")))

namespace blitters {

namespace {

template <Source source>
AVX2 __m256i loadEight(const uint8_t* in, const uint32_t* table) {
  const auto* base = reinterpret_cast<const int*>(table);
  if constexpr (source == Source::argb32) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
  } else if constexpr (source == Source::palette) {
    __m128i indices = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in));
    return _mm256_i32gather_epi32(base, _mm256_cvtepu8_epi32(indices), 4);
  } else {
    __m256i s = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    __m256i low = _mm256_i32gather_epi32(base, _mm256_and_si256(s, _mm256_set1_epi32(0xFF)), 4);
    __m256i high = _mm256_i32gather_epi32(base + 256, _mm256_srli_epi32(s, 8), 4);
    return _mm256_or_si256(low, high);
  }
}

AVX2 __m256i lanes(uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }

// Byte shuffles within each 16-byte half; -1 clears the byte.
AVX2 __m256i byteShuffle(__m256i x, const int8_t (&order)[16]) {
  __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(order));
  return _mm256_shuffle_epi8(x, _mm256_broadcastsi128_si256(half));
}

constexpr int8_t swapOrder[16] = {2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1};
constexpr int8_t tripleOrder[16] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1};
constexpr int8_t swappedTripleOrder[16] = {2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1};

// 5-5-5 or 5-6-5 per lane; `swap` takes the lowest display field from the
// lane's top field instead of its bottom one.
template <int32_t displayDepth, bool swap>
AVX2 __m256i toWords(__m256i x) {
  constexpr int32_t greenBits = displayDepth == 15 ? 5 : 6, highShift = displayDepth == 15 ? 10 : 11;
  constexpr uint32_t greenMask = ((1u << greenBits) - 1) << (16 - greenBits);
  __m256i green = _mm256_srli_epi32(_mm256_and_si256(x, lanes(greenMask)), 11 - greenBits);
  __m256i low, high;
  if constexpr (swap) {
    low = _mm256_and_si256(_mm256_srli_epi32(x, 19), lanes(0x1F));
    high = _mm256_slli_epi32(_mm256_and_si256(x, lanes(0xF8)), highShift - 3);
  } else {
    low = _mm256_srli_epi32(_mm256_and_si256(x, lanes(0xF8)), 3);
    high = _mm256_srli_epi32(_mm256_and_si256(x, lanes(0xF80000)), 19 - highShift);
  }
  return _mm256_or_si256(_mm256_or_si256(low, green), high);
}

// The dwords of x at the eight positions given.
AVX2 __m256i pick(__m256i x, int a, int b, int c, int d, int e, int f, int g, int h) {
  return _mm256_permutevar8x32_epi32(x, _mm256_setr_epi32(a, b, c, d, e, f, g, h));
}

// Four vectors of pixels whose halves each hold three-byte pixels in bytes 0
// to 11 (dwords 0-2 and 4-6) into 96 bytes.
AVX2 void storeTriples(__m256i* at, const __m256i* t) {
  __m256i first = pick(t[0], 0, 1, 2, 4, 5, 6, 0, 0);
  __m256i second = pick(t[1], 0, 0, 0, 0, 0, 0, 0, 1);
  _mm256_storeu_si256(at, _mm256_blend_epi32(first, second, 0xC0));
  first = pick(t[1], 2, 4, 5, 6, 0, 0, 0, 0);
  second = pick(t[2], 0, 0, 0, 0, 0, 1, 2, 4);
  _mm256_storeu_si256(at + 1, _mm256_blend_epi32(first, second, 0xF0));
  first = pick(t[2], 5, 6, 0, 0, 0, 0, 0, 0);
  second = pick(t[3], 0, 0, 0, 1, 2, 4, 5, 6);
  _mm256_storeu_si256(at + 2, _mm256_blend_epi32(first, second, 0xFC));
}

template <int32_t displayDepth>
constexpr int32_t vectorsPerStep = displayDepth == 24 ? 4 : displayDepth == 32 ? 1 : 2;

template <int32_t displayDepth, bool swap>
AVX2 void storeStep(uint8_t* out, const __m256i* x) {
  auto* at = reinterpret_cast<__m256i*>(out);
  if constexpr (displayDepth == 32) {
    _mm256_storeu_si256(at, swap ? byteShuffle(x[0], swapOrder) : _mm256_and_si256(x[0], lanes(0xFFFFFF)));
  } else if constexpr (displayDepth == 24) {
    __m256i t[4];
    for (int i = 0; i < 4; ++i) t[i] = byteShuffle(x[i], swap ? swappedTripleOrder : tripleOrder);
    storeTriples(at, t);
  } else {
    __m256i words = _mm256_packus_epi32(toWords<displayDepth, swap>(x[0]),
                                        toWords<displayDepth, swap>(x[1]));
    _mm256_storeu_si256(at, _mm256_permute4x64_epi64(words, 0xD8));  // undo the per-half packing
  }
}

// Rows through 32-bit lanes, eight pixels per vector.
template <Source source, int32_t displayDepth, int32_t rgbOrder>
AVX2 void laneRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  constexpr bool swap = source == Source::argb32   ? rgbOrder != 0
                        : source == Source::palette ? rgbOrder == 0
                                                    : false;
  constexpr int32_t vectors = vectorsPerStep<displayDepth>, step = 8 * vectors;
  constexpr int32_t inBytes = sourceBytes(source), outBytes = displayBytes(displayDepth);
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    __m256i pixels[vectors];
    for (int32_t v = 0; v < vectors; ++v) pixels[v] = loadEight<source>(in + (x + 8 * v) * inBytes, table);
    storeStep<displayDepth, swap>(out + x * outBytes, pixels);
  }
  plainRow<source, displayDepth, rgbOrder>(out + x * outBytes, in + x * inBytes, width - x, table);
}

// 5-6-5 screens onto 15 and 16-bit displays, sixteen pixels per vector.
template <int32_t displayDepth, int32_t rgbOrder>
AVX2 void wordRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  const __m256i five = _mm256_set1_epi16(0x1F);
  int32_t x = 0;
  for (; x + 16 <= width; x += 16) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * x));
    __m256i red = _mm256_srli_epi16(s, 11), blue = _mm256_and_si256(s, five), shown;
    if constexpr (displayDepth == 15) {
      __m256i green = _mm256_and_si256(_mm256_srli_epi16(s, 1), _mm256_set1_epi16(0x3E0));
      shown = rgbOrder ? _mm256_or_si256(_mm256_or_si256(red, green), _mm256_slli_epi16(blue, 10))
                       : _mm256_or_si256(_mm256_or_si256(blue, green), _mm256_slli_epi16(red, 10));
    } else {
      static_assert(rgbOrder == 1, "the other order is a copy");
      __m256i green = _mm256_and_si256(s, _mm256_set1_epi16(0x7E0));
      shown = _mm256_or_si256(_mm256_or_si256(red, green), _mm256_slli_epi16(s, 11));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * x), shown);
  }
  plainRow<Source::rgb565, displayDepth, rgbOrder>(out + 2 * x, in + 2 * x, width - x, table);
}

template <Source source, int32_t displayDepth, int32_t rgbOrder>
constexpr Blitter lanes8 = blitter<sourceBytes(source), laneRow<source, displayDepth, rgbOrder>>;

template <int32_t displayDepth, int32_t rgbOrder>
constexpr Blitter words16 = blitter<2, wordRow<displayDepth, rgbOrder>>;

template <int32_t order>
constexpr BlitterTwelve avx2Twelve = {
    lanes8<Source::palette, 15, order>,
    lanes8<Source::palette, 16, order>,
    lanes8<Source::palette, 24, order>,
    lanes8<Source::palette, 32, order>,
    words16<15, order>,
    order ? words16<16, 1> : copyBlitter,
    lanes8<Source::rgb565, 24, 0>,  // the work table gives the order
    lanes8<Source::rgb565, 32, 0>,
    lanes8<Source::argb32, 15, order>,
    lanes8<Source::argb32, 16, order>,
    lanes8<Source::argb32, 24, order>,
    order ? lanes8<Source::argb32, 32, 1> : copyBlitter,
};

}  // namespace

const BlitterHalf avx2Blitters = joinOrders(avx2Twelve<1>, avx2Twelve<0>);

}  // namespace blitters
