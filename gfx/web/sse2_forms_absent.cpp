// A WebAssembly build without SIMD128 (KRGFX_WEB_SIMD off) has no SSE2: its
// forms are the plain ones.
#include "gfx/web/absent_vector_forms.h"

KRGFX_ABSENT_VECTOR_FORMS(Sse2, Plain, sse2ScaledBlitters, sse2Blitters)
