// The SSE2 half of the BlitterTable. Pixels travel as 32-bit lanes of three
// 8-bit fields: a 32-bit screen's red, green and blue from the top, or a
// 16-bit screen's pixel widened as the work table widens it, already in the
// display's order.
#include <emmintrin.h>

#include "gfx/display/blitter_rows.h"

namespace krgfx {

// Small helpers go into the row loops whole.
#define SSE2_INLINE __attribute__((always_inline)) inline

namespace blitters {

namespace {

SSE2_INLINE __m128i lanes(uint32_t value) { return _mm_set1_epi32(static_cast<int>(value)); }

// Screen pixels as lanes. 5-6-5 pixels are widened as the work table of
// `rgbOrder` widens them.
template <Source source, int32_t rgbOrder>
struct Pixels {
  // The four pixels from pixel x of the row.
  SSE2_INLINE static __m128i load(const uint8_t* row, int32_t x) {
    const uint8_t* at = row + x * sourceBytes(source);
    if constexpr (source == Source::argb32) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    } else {
      __m128i words = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
      __m128i s = _mm_unpacklo_epi16(words, _mm_setzero_si128());
      __m128i red = _mm_and_si128(s, lanes(0xF800)), blue = _mm_and_si128(s, lanes(0x1F));
      __m128i green = _mm_slli_epi32(_mm_and_si128(s, lanes(0x7E0)), 5);
      red = rgbOrder ? _mm_srli_epi32(red, 8) : _mm_slli_epi32(red, 8);
      blue = _mm_slli_epi32(blue, rgbOrder ? 19 : 3);
      return _mm_or_si128(_mm_or_si128(red, green), blue);
    }
  }
};

// The lane's top field exchanged with its bottom one; the top byte cleared.
SSE2_INLINE __m128i swapOuterFields(__m128i x) {
  __m128i outer = _mm_and_si128(x, lanes(0x00FF00FF));
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(outer, 16), _mm_srli_epi32(outer, 16)),
                      _mm_and_si128(x, lanes(0xFF00)));
}

// 5-5-5 or 5-6-5 per lane; `swap` takes the lowest display field from the
// lane's top field instead of its bottom one.
template <int32_t displayDepth, bool swap>
SSE2_INLINE __m128i toWords(__m128i x) {
  constexpr int32_t greenBits = displayDepth == 15 ? 5 : 6;
  constexpr int32_t highShift = displayDepth == 15 ? 10 : 11;
  constexpr uint32_t greenMask = ((1u << greenBits) - 1) << (16 - greenBits);
  __m128i green = _mm_srli_epi32(_mm_and_si128(x, lanes(greenMask)), 11 - greenBits);
  __m128i low, high;
  if constexpr (swap) {
    low = _mm_and_si128(_mm_srli_epi32(x, 19), lanes(0x1F));
    high = _mm_slli_epi32(_mm_and_si128(x, lanes(0xF8)), highShift - 3);
  } else {
    low = _mm_srli_epi32(_mm_and_si128(x, lanes(0xF8)), 3);
    high = _mm_srli_epi32(_mm_and_si128(x, lanes(0xF80000)), 19 - highShift);
  }
  return _mm_or_si128(_mm_or_si128(low, green), high);
}

// Eight lanes of at most 16 bits into eight words (sign-extended first, so
// that the signed pack keeps them whole).
SSE2_INLINE __m128i packWords(__m128i first, __m128i second) {
  first = _mm_srai_epi32(_mm_slli_epi32(first, 16), 16);
  second = _mm_srai_epi32(_mm_slli_epi32(second, 16), 16);
  return _mm_packs_epi32(first, second);
}

// The low three bytes of each lane, packed into bytes 0 to 11.
SSE2_INLINE __m128i packTriples(__m128i x) {
  __m128i even = _mm_and_si128(x, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF));
  __m128i odd = _mm_and_si128(x, _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0));
  __m128i pairs = _mm_or_si128(even, _mm_srli_epi64(odd, 8));  // six bytes per half
  __m128i upperPair = _mm_unpackhi_epi64(_mm_setzero_si128(), pairs);
  return _mm_or_si128(_mm_move_epi64(pairs), _mm_srli_si128(upperPair, 2));
}

// 16 pixels into 48 bytes: the low three bytes of every lane, in order
// (`swap` exchanges the first and third of them).
template <bool swap>
SSE2_INLINE void storeTriples(uint8_t* out, __m128i a, __m128i b, __m128i c, __m128i d) {
  if constexpr (swap) a = swapOuterFields(a), b = swapOuterFields(b);
  if constexpr (swap) c = swapOuterFields(c), d = swapOuterFields(d);
  a = packTriples(a), b = packTriples(b), c = packTriples(c), d = packTriples(d);
  auto* at = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(at, _mm_or_si128(a, _mm_slli_si128(b, 12)));
  _mm_storeu_si128(at + 1, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
  _mm_storeu_si128(at + 2, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
}

// Rows through 32-bit lanes: 4 pixels per step onto 32-bit displays, 8 onto
// 15 and 16-bit ones, 16 onto 24-bit ones.
template <Source source, int32_t displayDepth, int32_t rgbOrder>
void laneRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  using In = Pixels<source, rgbOrder>;
  constexpr bool swap = source == Source::argb32 && rgbOrder != 0;
  constexpr int32_t step = displayDepth == 24 ? 16 : displayDepth == 32 ? 4 : 8;
  constexpr int32_t outBytes = displayBytes(displayDepth);
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    uint8_t* to = out + x * outBytes;
    if constexpr (displayDepth == 32) {
      __m128i pixels = In::load(in, x);
      pixels = swap ? swapOuterFields(pixels) : _mm_and_si128(pixels, lanes(0xFFFFFF));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), pixels);
    } else if constexpr (displayDepth == 24) {
      storeTriples<swap>(to, In::load(in, x), In::load(in, x + 4), In::load(in, x + 8),
                         In::load(in, x + 12));
    } else {
      __m128i words = packWords(toWords<displayDepth, swap>(In::load(in, x)),
                                toWords<displayDepth, swap>(In::load(in, x + 4)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), words);
    }
  }
  plainRow<source, displayDepth, rgbOrder>(out + x * outBytes, in + x * sourceBytes(source),
                                           width - x, table);
}

// 5-6-5 screens onto 15 and 16-bit displays, eight pixels per vector.
template <int32_t displayDepth, int32_t rgbOrder>
void wordRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  const __m128i five = _mm_set1_epi16(0x1F);
  int32_t x = 0;
  for (; x + 8 <= width; x += 8) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * x));
    __m128i red = _mm_srli_epi16(s, 11), blue = _mm_and_si128(s, five), shown;
    if constexpr (displayDepth == 15) {
      __m128i green = _mm_and_si128(_mm_srli_epi16(s, 1), _mm_set1_epi16(0x3E0));
      shown = rgbOrder ? _mm_or_si128(_mm_or_si128(red, green), _mm_slli_epi16(blue, 10))
                       : _mm_or_si128(_mm_or_si128(blue, green), _mm_slli_epi16(red, 10));
    } else {
      static_assert(rgbOrder == 1, "the other order is a copy");
      __m128i green = _mm_and_si128(s, _mm_set1_epi16(0x7E0));
      shown = _mm_or_si128(_mm_or_si128(red, green), _mm_slli_epi16(s, 11));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x), shown);
  }
  plainRow<Source::rgb565, displayDepth, rgbOrder>(out + 2 * x, in + 2 * x, width - x, table);
}

template <Source source, int32_t displayDepth, int32_t rgbOrder>
constexpr Blitter lanes4 = blitter<sourceBytes(source), laneRow<source, displayDepth, rgbOrder>>;

template <int32_t displayDepth, int32_t rgbOrder>
constexpr Blitter words8 = blitter<2, wordRow<displayDepth, rgbOrder>>;

template <int32_t displayDepth>
constexpr Blitter widen4 =
    widenBlitter<laneRow<Source::rgb565, displayDepth, 1>, laneRow<Source::rgb565, displayDepth, 0>,
                 plainRow<Source::rgb565, displayDepth, 0>>;

template <int32_t order>
constexpr BlitterTwelve sse2Twelve = {
    paletteBlitter<15, order>,
    paletteBlitter<16, order>,
    paletteBlitter<24, order>,
    paletteBlitter<32, order>,
    words8<15, order>,
    order ? words8<16, 1> : copyBlitter,
    widen4<24>,  // for both orders: the work table tells them apart
    widen4<32>,
    lanes4<Source::argb32, 15, order>,
    lanes4<Source::argb32, 16, order>,
    lanes4<Source::argb32, 24, order>,
    order ? lanes4<Source::argb32, 32, 1> : copyBlitter,
};

}  // namespace

const BlitterHalf sse2Blitters = joinOrders(sse2Twelve<1>, sse2Twelve<0>);

}  // namespace blitters

}  // namespace krgfx
