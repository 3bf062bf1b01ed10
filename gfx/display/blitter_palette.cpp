// Palette screens in the vector halves of the BlitterTable: the palette is
// converted once per call, then every row goes through the fastest row
// routine the processor offers.
#include "gfx/display/blitter_palette.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "gfx/cpu_features.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/screen.h"

namespace krgfx {

namespace blitters {

namespace {

template <int32_t displayDepth, int32_t rgbOrder>
void showPaletteAs(ShownPalette& shown, const uint32_t* devicePalette) {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t pixel = convertPixel<Source::palette, displayDepth, rgbOrder>(i, devicePalette);
    shown.pixels[i] = pixel;
    for (int32_t k = 0; k < 4; ++k) shown.planes[k][i] = static_cast<uint8_t>(pixel >> (8 * k));
  }
}

// Eight indices per load, one store per pixel (the processor keeps two
// stores a cycle going; packing pixels into wider stores costs more than it
// saves). 24-bit pixels are stored as four bytes, the fourth overwritten by
// the next pixel, so the last pixel of a row gets three.
template <int32_t bytes>
void lookupRow(uint8_t* out, const uint8_t* in, int32_t width, const ShownPalette& shown) {
  constexpr int32_t storeBytes = bytes == 3 ? 4 : bytes;
  const uint32_t* colours = shown.pixels;
  int32_t x = 0;
  for (; x + 8 + (bytes == 3) <= width; x += 8, out += 8 * bytes) {
    uint64_t indices;
    std::memcpy(&indices, in + x, 8);
    // Written out through the index sequence: a loop here stays a loop.
    [&]<size_t... k>(std::index_sequence<k...>) {
      (std::memcpy(out + k * bytes, &colours[(indices >> (8 * k)) & 0xFF], storeBytes), ...);
    }
    (std::make_index_sequence<8>());
  }
  for (; x < width; ++x, out += bytes) std::memcpy(out, &colours[in[x]], bytes);
}

template <int32_t displayDepth>
void paletteRowsOf(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  // blitDirtyRows hands over the ShownPalette's first member.
  const auto& shown = *reinterpret_cast<const ShownPalette*>(table);
  paletteRow(displayDepth)(out, in, width, shown);
}

}  // namespace

void showPalette(ShownPalette& shown, const uint32_t* devicePalette, int32_t displayDepth,
                 int32_t rgbOrder) {
  using Fill = void (*)(ShownPalette&, const uint32_t*);
  constexpr Fill redLow[4] = {showPaletteAs<15, 1>, showPaletteAs<16, 1>, showPaletteAs<24, 1>,
                              showPaletteAs<32, 1>};
  constexpr Fill redHigh[4] = {showPaletteAs<15, 0>, showPaletteAs<16, 0>, showPaletteAs<24, 0>,
                               showPaletteAs<32, 0>};
  const int32_t column = displayDepth == 15   ? 0
                         : displayDepth == 16 ? 1
                         : displayDepth == 24 ? 2
                                              : 3;
  (rgbOrder ? redLow : redHigh)[column](shown, devicePalette);
}

PaletteRow paletteLookupRow(int32_t displayDepth) {
  const int32_t bytes = displayBytes(displayDepth);
  return bytes == 4 ? lookupRow<4> : bytes == 3 ? lookupRow<3> : lookupRow<2>;
}

PaletteRow paletteRow(int32_t displayDepth) {
  if (PaletteRow permute = palettePermuteRow(displayDepth)) return permute;
  return paletteLookupRow(displayDepth);
}

template <int32_t displayDepth, int32_t rgbOrder>
void paletteBlitter(uint8_t* destination, int32_t destinationPitch) {
  const GfxScreen* screen = gfxScreen;
  if (!screen) return;
  ShownPalette shown;
  showPaletteAs<displayDepth, rgbOrder>(shown, screen->devicePalette);
  static_assert(offsetof(ShownPalette, pixels) == 0);
  blitDirtyRows(destination, destinationPitch, 1, paletteRowsOf<displayDepth>, shown.pixels);
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
