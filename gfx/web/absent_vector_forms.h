// The span, row-combiner and Blitter-half names of a vector level that a
// WebAssembly build lacks. vectorLevel never answers that level there, so
// they exist only for the tables to link (and for tests that compare the
// forms): each form hands its work to the level below, and the level's
// Blitter halves are the plain ones.
#pragma once

#include "gfx/depth_routines.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/image/row_combiners.h"

// Defines the forms of level `Absent` (Sse2, Avx2) through those of `Below`
// and the Blitter halves `scaledHalf` and `half` of that level as copies of
// the plain halves.
#define KRGFX_ABSENT_VECTOR_FORMS(Absent, Below, scaledHalf, half)                \
  namespace krgfx {                                                               \
  namespace spans {                                                               \
  void fill16##Absent(uint8_t* first, uint32_t colour, int32_t count) {           \
    fill16##Below(first, colour, count);                                          \
  }                                                                               \
  void fill32##Absent(uint8_t* first, uint32_t colour, int32_t count) {           \
    fill32##Below(first, colour, count);                                          \
  }                                                                               \
  void blendFill32##Absent(uint8_t* first, uint32_t colour, int32_t count) {      \
    blendFill32##Below(first, colour, count);                                     \
  }                                                                               \
  void copy##Absent(void* destination, const void* source, size_t bytes) {        \
    copy##Below(destination, source, bytes);                                      \
  }                                                                               \
  void copyChanged##Absent(void* destination, const void* source, size_t bytes) { \
    copyChanged##Below(destination, source, bytes);                               \
  }                                                                               \
  void fillBytes##Absent(void* destination, uint8_t value, size_t bytes) {        \
    fillBytes##Below(destination, value, bytes);                                  \
  }                                                                               \
  }                                                                               \
  namespace combiners {                                                           \
  KRGFX_COMBINER_AS(transparent8##Absent, transparent8##Below)                    \
  KRGFX_COMBINER_AS(transparent16##Absent, transparent16##Below)                  \
  KRGFX_COMBINER_AS(transparent32##Absent, transparent32##Below)                  \
  KRGFX_COMBINER_AS(alphaMask##Absent, alphaMask##Below)                          \
  }                                                                               \
  namespace blitters {                                                            \
  const ScaledHalf scaledHalf{};                                                  \
  const BlitterHalf half{};                                                       \
  }                                                                               \
  }

// A row combiner that hands its rows to another form.
#define KRGFX_COMBINER_AS(name, form)                                                       \
  void name(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,     \
            int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,    \
            void* param) {                                                                  \
    form(source, destination, width, height, sourcePitch, destinationPitch, alpha, blender, \
         param);                                                                            \
  }
