// The SSE2 half of the BlitterTable. Pixels travel as 32-bit lanes holding
// three 8-bit fields: for a 32-bit screen red, green, blue from the top, for a
// palette screen the palette colour (blue, green, red), for a 16-bit screen
// the work table's value, already in the display's order.
#include <emmintrin.h>

#include "gfx/display/blitter_rows.h"

namespace blitters {

namespace {

template <Source source>
__m128i loadFour(const uint8_t* in, const uint32_t* table) {
  if constexpr (source == Source::argb32) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  } else if constexpr (source == Source::palette) {
    return _mm_setr_epi32(static_cast<int>(table[in[0]]), static_cast<int>(table[in[1]]),
                          static_cast<int>(table[in[2]]), static_cast<int>(table[in[3]]));
  } else {
    uint16_t s[4];
    std::memcpy(s, in, sizeof s);
    auto shown = [table](uint16_t p) { return static_cast<int>(table[p & 0xFF] | table[256 + (p >> 8)]); };
    return _mm_setr_epi32(shown(s[0]), shown(s[1]), shown(s[2]), shown(s[3]));
  }
}

__m128i lanes(uint32_t value) { return _mm_set1_epi32(static_cast<int>(value)); }

// The lane's top field exchanged with its bottom one; the top byte cleared.
__m128i swapOuterFields(__m128i x) {
  __m128i outer = _mm_and_si128(x, lanes(0x00FF00FF));
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(outer, 16), _mm_srli_epi32(outer, 16)),
                      _mm_and_si128(x, lanes(0xFF00)));
}

// 5-5-5 or 5-6-5 per lane; `swap` takes the lowest display field from the
// lane's top field instead of its bottom one.
template <int32_t displayDepth, bool swap>
__m128i toWords(__m128i x) {
  constexpr int32_t greenBits = displayDepth == 15 ? 5 : 6, highShift = displayDepth == 15 ? 10 : 11;
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
__m128i packWords(__m128i first, __m128i second) {
  first = _mm_srai_epi32(_mm_slli_epi32(first, 16), 16);
  second = _mm_srai_epi32(_mm_slli_epi32(second, 16), 16);
  return _mm_packs_epi32(first, second);
}

// The low three bytes of each lane, packed into bytes 0 to 11.
__m128i packTriples(__m128i x) {
  __m128i even = _mm_and_si128(x, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF));
  __m128i odd = _mm_and_si128(x, _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0));
  __m128i pairs = _mm_or_si128(even, _mm_srli_epi64(odd, 8));  // six bytes per half
  __m128i upperPair = _mm_unpackhi_epi64(_mm_setzero_si128(), pairs);
  return _mm_or_si128(_mm_move_epi64(pairs), _mm_srli_si128(upperPair, 2));
}

template <int32_t displayDepth>
constexpr int32_t vectorsPerStep = displayDepth == 24 ? 4 : displayDepth == 32 ? 1 : 2;

template <int32_t displayDepth, bool swap>
void storeStep(uint8_t* out, __m128i* x) {
  auto* at = reinterpret_cast<__m128i*>(out);
  if constexpr (displayDepth == 32) {
    _mm_storeu_si128(at, swap ? swapOuterFields(x[0]) : _mm_and_si128(x[0], lanes(0xFFFFFF)));
  } else if constexpr (displayDepth == 24) {
    __m128i t[4];
    for (int i = 0; i < 4; ++i) t[i] = packTriples(swap ? swapOuterFields(x[i]) : x[i]);
    _mm_storeu_si128(at, _mm_or_si128(t[0], _mm_slli_si128(t[1], 12)));
    _mm_storeu_si128(at + 1, _mm_or_si128(_mm_srli_si128(t[1], 4), _mm_slli_si128(t[2], 8)));
    _mm_storeu_si128(at + 2, _mm_or_si128(_mm_srli_si128(t[2], 8), _mm_slli_si128(t[3], 4)));
  } else {
    _mm_storeu_si128(at, packWords(toWords<displayDepth, swap>(x[0]),
                                   toWords<displayDepth, swap>(x[1])));
  }
}

// Rows through 32-bit lanes, four pixels per vector.
template <Source source, int32_t displayDepth, int32_t rgbOrder>
void laneRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  constexpr bool swap = source == Source::argb32   ? rgbOrder != 0
                        : source == Source::palette ? rgbOrder == 0
                                                    : false;
  constexpr int32_t vectors = vectorsPerStep<displayDepth>, step = 4 * vectors;
  constexpr int32_t inBytes = sourceBytes(source), outBytes = displayBytes(displayDepth);
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    __m128i pixels[vectors];
    for (int32_t v = 0; v < vectors; ++v) pixels[v] = loadFour<source>(in + (x + 4 * v) * inBytes, table);
    storeStep<displayDepth, swap>(out + x * outBytes, pixels);
  }
  plainRow<source, displayDepth, rgbOrder>(out + x * outBytes, in + x * inBytes, width - x, table);
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

template <int32_t order>
constexpr BlitterTwelve sse2Twelve = {
    lanes4<Source::palette, 15, order>,
    lanes4<Source::palette, 16, order>,
    lanes4<Source::palette, 24, order>,
    lanes4<Source::palette, 32, order>,
    words8<15, order>,
    order ? words8<16, 1> : copyBlitter,
    lanes4<Source::rgb565, 24, 0>,  // the work table gives the order
    lanes4<Source::rgb565, 32, 0>,
    lanes4<Source::argb32, 15, order>,
    lanes4<Source::argb32, 16, order>,
    lanes4<Source::argb32, 24, order>,
    order ? lanes4<Source::argb32, 32, 1> : copyBlitter,
};

}  // namespace

const BlitterHalf sse2Blitters = joinOrders(sse2Twelve<1>, sse2Twelve<0>);

}  // namespace blitters
