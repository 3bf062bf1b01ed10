// SSE2 forms of the row combiners: compare a block of source pixels with the
// transparent colour and merge by the mask (destination where equal, source
// elsewhere). Rows are finished pixel by pixel.
#include <emmintrin.h>

#include "gfx/image/row_combiners.h"
#include "gfx/image/row_walk.h"

namespace krgfx {

namespace combiners {

namespace {

__m128i load(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
void store(uint8_t* at, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value); }

// Keeps the destination where mask is set and takes the source elsewhere.
void merge(const __m128i source, uint8_t* destination, __m128i mask) {
  __m128i kept = _mm_and_si128(mask, load(destination));
  store(destination, _mm_or_si128(kept, _mm_andnot_si128(mask, source)));
}

void block8(const uint8_t* source, uint8_t* destination) {
  __m128i pixels = load(source);
  merge(pixels, destination, _mm_cmpeq_epi8(pixels, _mm_setzero_si128()));
}

void block16(const uint8_t* source, uint8_t* destination) {
  __m128i pixels = load(source);
  __m128i key = _mm_set1_epi16(static_cast<short>(transparentFill16));
  merge(pixels, destination, _mm_cmpeq_epi16(pixels, key));
}

void block32(const uint8_t* source, uint8_t* destination) {
  __m128i colours = _mm_and_si128(load(source), _mm_set1_epi32(colourBits32));
  __m128i key = _mm_set1_epi32(transparentColour32);
  merge(colours, destination, _mm_cmpeq_epi32(colours, key));
}

// Eight mask bytes into the alpha bytes of eight 32-bit pixels.
void blockAlphaMask(const uint8_t* source, uint8_t* destination) {
  __m128i zero = _mm_setzero_si128();
  __m128i high = _mm_unpacklo_epi8(zero, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source)));
  __m128i colourBits = _mm_set1_epi32(colourBits32);
  __m128i alphas[2] = {_mm_unpacklo_epi16(zero, high), _mm_unpackhi_epi16(zero, high)};
  for (int half = 0; half < 2; ++half) {
    uint8_t* at = destination + 16 * half;
    store(at, _mm_or_si128(_mm_and_si128(load(at), colourBits), alphas[half]));
  }
}

}  // namespace

void transparent8Sse2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                      int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  walkRows<16, 1, 1>(source, destination, width, height, sourcePitch, destinationPitch, block8,
                     transparentPixel8);
}

void transparent16Sse2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                       int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  walkRows<8, 2, 2>(source, destination, width, height, sourcePitch, destinationPitch, block16,
                    transparentPixel16);
}

void transparent32Sse2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                       int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  walkRows<4, 4, 4>(source, destination, width, height, sourcePitch, destinationPitch, block32,
                    transparentPixel32);
}

void alphaMaskSse2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                   int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  walkRows<8, 1, 4>(source, destination, width, height, sourcePitch, destinationPitch,
                    blockAlphaMask, alphaMaskPixel);
}

}  // namespace combiners

}  // namespace krgfx
