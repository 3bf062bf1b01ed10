// The AVX2 half of the BlitterTable, chosen at run time on processors with
// AVX2. Pixels travel as 32-bit lanes of three 8-bit fields: a 32-bit
// screen's red, green and blue from the top, or a 16-bit screen's pixel
// widened as the work table widens it, already in the display's order.
#include <immintrin.h>

#include "gfx/display/blitter_rows.h"

namespace krgfx {

#define AVX2 __attribute__((target("avx2")))
// Small helpers go into the row loops whole.
#define AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

namespace blitters {

namespace {

AVX2_INLINE __m256i lanes(uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }

// Screen pixels as lanes. 5-6-5 pixels are widened as the work table of
// `rgbOrder` widens them.
template <Source source, int32_t rgbOrder>
struct Pixels {
  // The eight pixels from pixel x of the row.
  AVX2_INLINE static __m256i load(const uint8_t* row, int32_t x) {
    const uint8_t* at = row + x * sourceBytes(source);
    if constexpr (source == Source::argb32) {
      return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    } else {
      __m256i s = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
      __m256i red = _mm256_and_si256(s, lanes(0xF800)), blue = _mm256_and_si256(s, lanes(0x1F));
      __m256i green = _mm256_slli_epi32(_mm256_and_si256(s, lanes(0x7E0)), 5);
      red = rgbOrder ? _mm256_srli_epi32(red, 8) : _mm256_slli_epi32(red, 8);
      blue = _mm256_slli_epi32(blue, rgbOrder ? 19 : 3);
      return _mm256_or_si256(_mm256_or_si256(red, green), blue);
    }
  }
};

// Byte shuffles within each 16-byte half; -1 clears the byte.
AVX2_INLINE __m256i byteShuffle(__m256i x, const int8_t (&order)[16]) {
  __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(order));
  return _mm256_shuffle_epi8(x, _mm256_broadcastsi128_si256(half));
}

constexpr int8_t swapOrder[16] = {2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1};
constexpr int8_t tripleOrder[16] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1};
constexpr int8_t swappedTripleOrder[16] = {2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1};

// 5-5-5 or 5-6-5 per lane; `swap` takes the lowest display field from the
// lane's top field instead of its bottom one.
template <int32_t displayDepth, bool swap>
AVX2_INLINE __m256i toWords(__m256i x) {
  constexpr int32_t greenBits = displayDepth == 15 ? 5 : 6,
                    highShift = displayDepth == 15 ? 10 : 11;
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
AVX2_INLINE __m256i pick(__m256i x, int a, int b, int c, int d, int e, int f, int g, int h) {
  return _mm256_permutevar8x32_epi32(x, _mm256_setr_epi32(a, b, c, d, e, f, g, h));
}

// 32 pixels into 96 bytes: the low three bytes of every lane, in order
// (`swap` exchanges the first and third of them).
template <bool swap>
AVX2_INLINE void storeTriples(uint8_t* out, __m256i a, __m256i b, __m256i c, __m256i d) {
  // Within each 16-byte half, the four pixels' bytes to bytes 0 to 11 (dwords
  // 0-2 and 4-6 of the vector), then the dwords into three full vectors.
  const int8_t(&order)[16] = swap ? swappedTripleOrder : tripleOrder;
  a = byteShuffle(a, order), b = byteShuffle(b, order);
  c = byteShuffle(c, order), d = byteShuffle(d, order);
  auto* at = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(at, _mm256_blend_epi32(pick(a, 0, 1, 2, 4, 5, 6, 0, 0),
                                             pick(b, 0, 0, 0, 0, 0, 0, 0, 1), 0xC0));
  _mm256_storeu_si256(at + 1, _mm256_blend_epi32(pick(b, 2, 4, 5, 6, 0, 0, 0, 0),
                                                 pick(c, 0, 0, 0, 0, 0, 1, 2, 4), 0xF0));
  _mm256_storeu_si256(at + 2, _mm256_blend_epi32(pick(c, 5, 6, 0, 0, 0, 0, 0, 0),
                                                 pick(d, 0, 0, 0, 1, 2, 4, 5, 6), 0xFC));
}

// Rows through 32-bit lanes: 8 pixels per step onto 32-bit displays, 16 onto
// 15 and 16-bit ones, 32 onto 24-bit ones.
template <Source source, int32_t displayDepth, int32_t rgbOrder>
AVX2 void laneRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  using In = Pixels<source, rgbOrder>;
  constexpr bool swap = source == Source::argb32 && rgbOrder != 0;
  constexpr int32_t step = displayDepth == 24 ? 32 : displayDepth == 32 ? 8 : 16;
  constexpr int32_t outBytes = displayBytes(displayDepth);
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    uint8_t* to = out + x * outBytes;
    if constexpr (displayDepth == 32) {
      __m256i pixels = In::load(in, x);
      pixels = swap ? byteShuffle(pixels, swapOrder) : _mm256_and_si256(pixels, lanes(0xFFFFFF));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), pixels);
    } else if constexpr (displayDepth == 24) {
      storeTriples<swap>(to, In::load(in, x), In::load(in, x + 8), In::load(in, x + 16),
                         In::load(in, x + 24));
    } else {
      __m256i words = _mm256_packus_epi32(toWords<displayDepth, swap>(In::load(in, x)),
                                          toWords<displayDepth, swap>(In::load(in, x + 8)));
      // The pack works per 16-byte half; put the four quarters back in order.
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), _mm256_permute4x64_epi64(words, 0xD8));
    }
  }
  plainRow<source, displayDepth, rgbOrder>(out + x * outBytes, in + x * sourceBytes(source),
                                           width - x, table);
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

template <int32_t displayDepth>
constexpr Blitter widen8 =
    widenBlitter<laneRow<Source::rgb565, displayDepth, 1>, laneRow<Source::rgb565, displayDepth, 0>,
                 plainRow<Source::rgb565, displayDepth, 0>>;

template <int32_t order>
constexpr BlitterTwelve avx2Twelve = {
    paletteBlitter<15, order>,
    paletteBlitter<16, order>,
    paletteBlitter<24, order>,
    paletteBlitter<32, order>,
    words16<15, order>,
    order ? words16<16, 1> : copyBlitter,
    widen8<24>,  // for both orders: the work table tells them apart
    widen8<32>,
    lanes8<Source::argb32, 15, order>,
    lanes8<Source::argb32, 16, order>,
    lanes8<Source::argb32, 24, order>,
    order ? lanes8<Source::argb32, 32, 1> : copyBlitter,
};

}  // namespace

const BlitterHalf avx2Blitters = joinOrders(avx2Twelve<1>, avx2Twelve<0>);

}  // namespace blitters

}  // namespace krgfx
