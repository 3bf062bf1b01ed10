// Palette screens: the 256 colours converted once for a display, then rows of
// indices turned into display pixels through them. The palette Blitters, and
// anything else that shows rows of a palette screen, share these.
#pragma once

#include <cstdint>

namespace krgfx {

namespace blitters {

// The palette as a display of one depth and order shows it: `pixels` holds
// each colour's display pixel in its low 2, 3 or 4 bytes (the rest zero),
// `planes[k]` byte k of every one of them, for the byte-permute routines.
struct ShownPalette {
  alignas(64) uint32_t pixels[256];
  alignas(64) uint8_t planes[4][256];
};

// Fills `shown` from a devicePalette (256 entries of 0x00BBGGRR) for a
// display of depth 15, 16, 24 or 32; `rgbOrder` non-zero keeps red lowest.
void showPalette(ShownPalette& shown, const uint32_t* devicePalette, int32_t displayDepth,
                 int32_t rgbOrder);

// Turns `width` indices at `in` into display pixels at `out`, writing exactly
// width x the display's pixel bytes.
using PaletteRow = void (*)(uint8_t* out, const uint8_t* in, int32_t width,
                            const ShownPalette& shown);

// The row routine for a display depth (15, 16, 24 or 32) at the processor's
// vector level: byte permutes with AVX-512 VBMI, else unrolled lookups.
PaletteRow paletteRow(int32_t displayDepth);

// The individual forms, for tests and benchmarks that compare them; the
// permute form is null on a processor without AVX-512 VBMI.
PaletteRow paletteLookupRow(int32_t displayDepth);
PaletteRow palettePermuteRow(int32_t displayDepth);

}  // namespace blitters

}  // namespace krgfx
