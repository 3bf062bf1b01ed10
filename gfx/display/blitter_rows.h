// What the plain and vector blitters share: the dirty-row loop, the pixel
// conversions and the plain row routines, which also finish the rows that
// the vector routines leave short of a full step.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "gfx/display/blitter.h"

namespace krgfx {

namespace blitters {

// Converts `width` screen pixels at `in` into display pixels at `out`.
// `table` is the devicePalette for palette screens and the blitterWorkTable
// for 16-bit ones.
using RowConverter = void (*)(uint8_t* out, const uint8_t* in, int32_t width,
                              const uint32_t* table);

// Runs `convert` for each display row whose framebuffer row is dirty; every
// framebuffer row fills scanlineSize display rows. Without a `table` of its
// own, `convert` gets the screen's.
void blitDirtyRows(uint8_t* destination, int32_t destinationPitch, int32_t sourceBytes,
                   RowConverter convert, const uint32_t* table = nullptr);

template <int32_t SourceBytes, RowConverter Convert>
void blitter(uint8_t* destination, int32_t destinationPitch) {
  blitDirtyRows(destination, destinationPitch, SourceBytes, Convert);
}

// What a screen pixel holds: a palette index, a 5-6-5 word or 0xAARRGGBB.
enum class Source { palette, rgb565, argb32 };

constexpr int32_t sourceBytes(Source source) {
  return source == Source::palette ? 1 : source == Source::rgb565 ? 2 : 4;
}
constexpr int32_t displayBytes(int32_t displayDepth) {
  return displayDepth == 24 ? 3 : displayDepth == 32 ? 4 : 2;
}

// A display pixel from 8-bit channels: `low` goes to the lowest field.
constexpr uint32_t packChannels(int32_t displayDepth, uint32_t low, uint32_t green, uint32_t high) {
  if (displayDepth == 15) return (low >> 3) | (green >> 3) << 5 | (high >> 3) << 10;
  if (displayDepth == 16) return (low >> 3) | (green >> 2) << 5 | (high >> 3) << 11;
  return low | green << 8 | high << 16;
}

template <Source source, int32_t displayDepth, int32_t rgbOrder>
uint32_t convertPixel(uint32_t s, const uint32_t* table) {
  if constexpr (source == Source::rgb565 && displayDepth >= 24) {
    return table[s & 0xFF] | table[256 + (s >> 8)];  // the table gives the order
  } else if constexpr (source == Source::rgb565) {
    uint32_t red = s >> 11, green = (s >> 5) & 0x3F, blue = s & 0x1F;
    uint32_t low = rgbOrder ? red : blue, high = rgbOrder ? blue : red;
    if constexpr (displayDepth == 15) return low | (green >> 1) << 5 | high << 10;
    return low | green << 5 | high << 11;
  } else {
    // A palette colour is 0x00BBGGRR, a screen pixel 0xAARRGGBB.
    uint32_t colour = source == Source::palette ? table[s] : s;
    uint32_t first = colour & 0xFF, green = (colour >> 8) & 0xFF, third = (colour >> 16) & 0xFF;
    uint32_t red = source == Source::palette ? first : third;
    uint32_t blue = source == Source::palette ? third : first;
    return rgbOrder ? packChannels(displayDepth, red, green, blue)
                    : packChannels(displayDepth, blue, green, red);
  }
}

// One pixel after another (pixels stored little-endian).
template <Source source, int32_t displayDepth, int32_t rgbOrder>
void plainRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t* table) {
  constexpr int32_t inBytes = sourceBytes(source), outBytes = displayBytes(displayDepth);
  for (int32_t x = 0; x < width; ++x) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, in + x * inBytes, inBytes);
    uint32_t shown = convertPixel<source, displayDepth, rgbOrder>(pixel, table);
    std::memcpy(out + x * outBytes, &shown, outBytes);
  }
}

// The work table for a display order (rgbOrder 1 keeps red low).
void fillWorkTable(bool redLow);
// The order whose filling the work table holds, or -1 when it holds neither.
int32_t workTableOrder();

// 16-bit screens onto 24 and 32-bit displays: the vector halves widen the
// pixels with arithmetic that equals the work table as chooseBlitter fills
// it, and look them up when the table holds something else.
template <RowConverter redLowRow, RowConverter redHighRow, RowConverter lookupRow>
void widenBlitter(uint8_t* destination, int32_t destinationPitch) {
  int32_t order = workTableOrder();
  RowConverter row = order == 1 ? redLowRow : order == 0 ? redHighRow : lookupRow;
  blitDirtyRows(destination, destinationPitch, 2, row);
}

// Palette screens in the vector halves, SSE2 and AVX2 alike: the palette is
// converted once per call, then each pixel is one lookup.
template <int32_t displayDepth, int32_t rgbOrder>
void paletteBlitter(uint8_t* destination, int32_t destinationPitch);

// One half of the BlitterTable, built from the twelve entries of each order.
using BlitterHalf = std::array<Blitter, 24>;
using BlitterTwelve = std::array<Blitter, 12>;

constexpr BlitterHalf joinOrders(const BlitterTwelve& redLow, const BlitterTwelve& redHigh) {
  BlitterHalf half{};
  for (size_t i = 0; i < 12; ++i) half[i] = redLow[i], half[12 + i] = redHigh[i];
  return half;
}

extern const BlitterHalf plainBlitters;

// The index of chooseBlitter's answer in the BlitterTable, -1 for none and
// -2 for the copy of an 8-bit display. Fills the work table for the order.
int32_t chooseBlitterIndex(int32_t displayDepth, int32_t rgbOrder);

// The block copy of the processor's vector level. Not the process-wide
// blockCopy: the main thread re-chooses that one whenever it binds a target,
// and the Blitters run on the presenter thread.
void copyBytes(void* out, const void* in, size_t bytes);

// Widens the `width` display pixels at `in` (of the widener's size) into
// the `scale` display rows from `out`, `pitch` bytes apart: every pixel
// `scale` times along each row.
using RowWidener = void (*)(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width,
                            int32_t scale);

// Converts the dirty rows with `convert` into a row buffer of the presenter
// thread and widens each into its block of `scale` display rows.
void blitScaled(Blitter convert, RowWidener widen, int32_t displayPixelBytes, uint8_t* destination,
                int32_t destinationPitch, int32_t scale);

// One half of the ScaledBlitterTable: entry i runs entry `Offset` + i of the
// BlitterTable and widens with the Widener's row routine for its display.
using ScaledHalf = std::array<ScaledBlitter, 24>;

// The display's bytes per pixel of an entry within a half.
constexpr int32_t entryDisplayBytes(size_t entry) {
  constexpr int32_t bytes[4] = {2, 2, 3, 4};  // display depths 15, 16, 24, 32
  return bytes[entry % 4];
}

template <size_t Index, RowWidener Widen>
void scaledEntry(uint8_t* destination, int32_t destinationPitch, int32_t scale) {
  blitScaled(blitterTable()[Index], Widen, entryDisplayBytes(Index), destination, destinationPitch,
             scale);
}

// `Widener<bytes>::row` widens rows of pixels of that many bytes.
template <size_t Offset, template <int32_t> class Widener, size_t... Entry>
constexpr ScaledHalf scaledHalf(std::index_sequence<Entry...>) {
  return {scaledEntry<Offset + Entry, Widener<entryDisplayBytes(Entry)>::row>...};
}

// Pixels `first` to width - 1 of the row at `in`, each `scale` times from
// `out` (the first block at out).
template <int32_t Bytes>
void widenPixels(uint8_t* out, const uint8_t* in, int32_t first, int32_t width, int32_t scale) {
  for (int32_t x = first; x < width; ++x) {
    uint8_t* block = out + static_cast<ptrdiff_t>(x - first) * scale * Bytes;
    for (int32_t copy = 0; copy < scale; ++copy)
      std::memcpy(block + copy * Bytes, in + x * Bytes, Bytes);
  }
}

// The first display row of a block, widened, copied into the other rows.
inline void copyDown(uint8_t* out, ptrdiff_t pitch, int32_t width, int32_t scale, int32_t bytes) {
  const size_t rowBytes = static_cast<size_t>(width) * scale * bytes;
  for (int32_t line = 1; line < scale; ++line) copyBytes(out + line * pitch, out, rowBytes);
}

// The first display row of the block widened, the others copied from it.
template <int32_t Bytes>
struct PlainWidener {
  static void row(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width, int32_t scale) {
    widenPixels<Bytes>(out, in, 0, width, scale);
    copyDown(out, pitch, width, scale, Bytes);
  }
};

// A vector level's Widener: `Rows<Bytes>::pairs` widens 16 and 32-bit pixels
// at scale 2 into both rows of the block, `Rows<Bytes>::each` the first row
// at the other scales (then copied down); 24-bit pixels go the plain way.
template <int32_t Bytes, template <int32_t> class Rows>
struct VectorWidener {
  static void row(uint8_t* out, ptrdiff_t pitch, const uint8_t* in, int32_t width, int32_t scale) {
    if constexpr (Bytes == 3) {
      PlainWidener<3>::row(out, pitch, in, width, scale);
    } else {
      if constexpr (Bytes != 1)
        if (scale == 2) return Rows<Bytes>::pairs(out, pitch, in, width);
      Rows<Bytes>::each(out, in, width, scale);
      copyDown(out, pitch, width, scale, Bytes);
    }
  }
};

extern const ScaledHalf plainScaledBlitters;
extern const ScaledHalf sse2ScaledBlitters;
extern const ScaledHalf avx2ScaledBlitters;
extern const BlitterHalf sse2Blitters;
extern const BlitterHalf avx2Blitters;

}  // namespace blitters

}  // namespace krgfx
