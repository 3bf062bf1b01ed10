// A WebAssembly build has no AVX2 or AVX-512: vectorLevel never answers
// avx2 there, so the tables keep these names only to link. Each form is the
// next one down, and the vector halves of the Blitter tables stay empty.
#include "gfx/depth_routines.h"
#include "gfx/display/blitter_palette.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/image/row_combiners.h"

namespace krgfx {

namespace spans {
void fill16Avx2(uint8_t* first, uint32_t colour, int32_t count) {
  fill16Sse2(first, colour, count);
}
void fill32Avx2(uint8_t* first, uint32_t colour, int32_t count) {
  fill32Sse2(first, colour, count);
}
void blendFill32Avx2(uint8_t* first, uint32_t colour, int32_t count) {
  blendFill32Sse2(first, colour, count);
}
void copyAvx2(void* destination, const void* source, size_t bytes) {
  copySse2(destination, source, bytes);
}
void copyChangedAvx2(void* destination, const void* source, size_t bytes) {
  copyChangedSse2(destination, source, bytes);
}
void fillBytesAvx2(void* destination, uint8_t value, size_t bytes) {
  fillBytesSse2(destination, value, bytes);
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
KRGFX_COMBINER_AS(transparent8Avx2, transparent8Sse2)
KRGFX_COMBINER_AS(transparent16Avx2, transparent16Sse2)
KRGFX_COMBINER_AS(transparent32Avx2, transparent32Sse2)
KRGFX_COMBINER_AS(alphaMaskAvx2, alphaMaskSse2)
}  // namespace combiners

namespace blitters {
const ScaledHalf avx2ScaledBlitters{};
const BlitterHalf avx2Blitters{};
// No AVX-512 byte permutes: the palette rows take the lookup form.
PaletteRow palettePermuteRow(int32_t /*displayDepth*/) { return nullptr; }
}  // namespace blitters

}  // namespace krgfx
