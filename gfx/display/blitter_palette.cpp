// Palette screens in the vector halves of the BlitterTable: the palette is
// converted once per call, then every row goes through the fastest row
// routine the processor offers.
#include "gfx/display/blitter_palette.h"

#include <cstddef>
#include <cstring>

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

// Eight pixels from eight indices, each display pixel in the low bytes of
// its word (the higher bytes zero). Written out: the compiler keeps the
// pixels in registers only when nothing loops over them.
struct Eight {
  uint64_t p0, p1, p2, p3, p4, p5, p6, p7;
};

inline Eight lookUpEight(const uint8_t* in, const uint32_t* shown) {
  uint64_t i;
  std::memcpy(&i, in, 8);
  return {shown[i & 0xFF],         shown[(i >> 8) & 0xFF],  shown[(i >> 16) & 0xFF],
          shown[(i >> 24) & 0xFF], shown[(i >> 32) & 0xFF], shown[(i >> 40) & 0xFF],
          shown[(i >> 48) & 0xFF], shown[i >> 56]};
}

inline void store64(uint8_t* out, uint64_t value) { std::memcpy(out, &value, 8); }

// Eight indices per load, the pixels packed into 64-bit stores.
template <int32_t bytes>
void lookupRow(uint8_t* out, const uint8_t* in, int32_t width, const ShownPalette& shown) {
  const uint32_t* colours = shown.pixels;
  int32_t x = 0;
  for (; x + 8 <= width; x += 8, out += 8 * bytes) {
    const Eight p = lookUpEight(in + x, colours);
    if constexpr (bytes == 4) {
      store64(out, p.p0 | p.p1 << 32);
      store64(out + 8, p.p2 | p.p3 << 32);
      store64(out + 16, p.p4 | p.p5 << 32);
      store64(out + 24, p.p6 | p.p7 << 32);
    } else if constexpr (bytes == 2) {
      store64(out, p.p0 | p.p1 << 16 | p.p2 << 32 | p.p3 << 48);
      store64(out + 8, p.p4 | p.p5 << 16 | p.p6 << 32 | p.p7 << 48);
    } else {
      store64(out, p.p0 | p.p1 << 24 | p.p2 << 48);
      store64(out + 8, p.p2 >> 16 | p.p3 << 8 | p.p4 << 32 | p.p5 << 56);
      store64(out + 16, p.p5 >> 8 | p.p6 << 16 | p.p7 << 40);
    }
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
