// WebAssembly has no AVX2 or AVX-512: their forms are the SSE2 ones (which
// are the plain ones unless built for SIMD128).
#include "gfx/display/blitter_palette.h"
#include "gfx/web/absent_vector_forms.h"

KRGFX_ABSENT_VECTOR_FORMS(Avx2, Sse2, avx2ScaledBlitters, avx2Blitters)

namespace krgfx::blitters {

// No AVX-512 byte permutes: the palette rows take the lookup form.
PaletteRow palettePermuteRow(int32_t /*displayDepth*/) { return nullptr; }

}  // namespace krgfx::blitters
