// Palette screens in the vector halves of the BlitterTable. A palette pixel
// is a table lookup however wide the registers, so these convert the 256
// colours once per call and then look every pixel up.
#include "gfx/display/blitter_rows.h"
#include "gfx/screen.h"

namespace krgfx {

namespace blitters {

namespace {

template <int32_t displayDepth>
void lookupRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* shown) {
  constexpr int32_t bytes = displayBytes(displayDepth);
  int32_t x = 0;
  if constexpr (displayDepth == 24) {
    // Four bytes per pixel, the fourth overwritten by the next pixel.
    for (; x + 1 < width; ++x) std::memcpy(out + 3 * x, &shown[in[x]], 4);
  } else {
    for (; x + 4 <= width; x += 4) {  // four indices per load
      uint32_t indices;
      std::memcpy(&indices, in + x, 4);
      uint32_t a = shown[indices & 0xFF], b = shown[(indices >> 8) & 0xFF];
      uint32_t c = shown[(indices >> 16) & 0xFF], d = shown[indices >> 24];
      std::memcpy(out + bytes * x, &a, bytes);
      std::memcpy(out + bytes * (x + 1), &b, bytes);
      std::memcpy(out + bytes * (x + 2), &c, bytes);
      std::memcpy(out + bytes * (x + 3), &d, bytes);
    }
  }
  for (; x < width; ++x) std::memcpy(out + bytes * x, &shown[in[x]], bytes);
}

}  // namespace

template <int32_t displayDepth, int32_t rgbOrder>
void paletteBlitter(uint8_t* destination, int32_t destinationPitch) {
  const GfxScreen* screen = gfxScreen;
  if (!screen) return;
  uint32_t shown[256];
  for (uint32_t i = 0; i < 256; ++i)
    shown[i] = convertPixel<Source::palette, displayDepth, rgbOrder>(i, screen->devicePalette);
  blitDirtyRows(destination, destinationPitch, 1, lookupRow<displayDepth>, shown);
}

template void paletteBlitter<15, 0>(uint8_t*, int32_t);
template void paletteBlitter<15, 1>(uint8_t*, int32_t);
template void paletteBlitter<16, 0>(uint8_t*, int32_t);
template void paletteBlitter<16, 1>(uint8_t*, int32_t);
template void paletteBlitter<24, 0>(uint8_t*, int32_t);
template void paletteBlitter<24, 1>(uint8_t*, int32_t);
template void paletteBlitter<32, 0>(uint8_t*, int32_t);
template void paletteBlitter<32, 1>(uint8_t*, int32_t);

}  // namespace blitters

}  // namespace krgfx
