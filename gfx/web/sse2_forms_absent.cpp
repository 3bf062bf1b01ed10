// A WebAssembly build has no SSE2 unless built with SIMD128
// (KRGFX_WEB_SIMD): vectorLevel then answers plain, so the tables keep these names only to link.
// Each form is the next one down, and the vector halves of the Blitter tables stay empty.
#include "gfx/depth_routines.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/image/row_combiners.h"

namespace krgfx {

namespace spans {
void fill16Sse2(uint8_t* first, uint32_t colour, int32_t count) {
  fill16Plain(first, colour, count);
}
void fill32Sse2(uint8_t* first, uint32_t colour, int32_t count) {
  fill32Plain(first, colour, count);
}
void blendFill32Sse2(uint8_t* first, uint32_t colour, int32_t count) {
  blendFill32Plain(first, colour, count);
}
void copySse2(void* destination, const void* source, size_t bytes) {
  copyPlain(destination, source, bytes);
}
void copyChangedSse2(void* destination, const void* source, size_t bytes) {
  copyChangedPlain(destination, source, bytes);
}
void fillBytesSse2(void* destination, uint8_t value, size_t bytes) {
  fillBytesPlain(destination, value, bytes);
}
}  // namespace spans

namespace combiners {
// A row combiner that hands its rows to another form.
#define KRGFX_COMBINER_AS(name, form)                                                       \
  void name(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,     \
            int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,    \
            void* param) {                                                                  \
    form(source, destination, width, height, sourcePitch, destinationPitch, alpha, blender, \
         param);                                                                            \
  }
KRGFX_COMBINER_AS(transparent8Sse2, transparent8Plain)
KRGFX_COMBINER_AS(transparent16Sse2, transparent16Plain)
KRGFX_COMBINER_AS(transparent32Sse2, transparent32Plain)
KRGFX_COMBINER_AS(alphaMaskSse2, alphaMaskPlain)
}  // namespace combiners

namespace blitters {
const ScaledHalf sse2ScaledBlitters{};
const BlitterHalf sse2Blitters{};
}  // namespace blitters

}  // namespace krgfx
