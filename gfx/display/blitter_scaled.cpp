// The ScaledBlitterTable: each entry converts the dirty rows with the
// BlitterTable's entry of the same place, widens every converted row and
// copies it down its block. The plain half widens one pixel at a time.
#include <algorithm>

#include "gfx/cpu_features.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/screen.h"

namespace krgfx {

namespace blitters {

void blitScaled(Blitter convert, RowExpander expand, int32_t displayPixelBytes,
                uint8_t* destination, int32_t destinationPitch, int32_t scale) {
  const GfxScreen* screen = gfxScreen;
  if (!screen || !destination || !convert) return;
  scale = std::clamp(scale, 1, maxDisplayScale);
  const ptrdiff_t pitch = destinationPitch;
  // Converted row r lands at the top of its block of `scale` display rows.
  convert(destination, static_cast<int32_t>(pitch * scale));
  if (scale == 1) return;
  const int32_t repeat = screen->scanlineSize > 0 ? screen->scanlineSize : 1;
  const size_t rowBytes = static_cast<size_t>(screen->width) * displayPixelBytes * scale;
  for (int32_t row = 0; row < screen->height; ++row) {
    if (!screen->dirtyLines[row]) continue;
    for (int32_t copy = 0; copy < repeat; ++copy) {
      uint8_t* top = destination + (static_cast<ptrdiff_t>(row) * repeat + copy) * scale * pitch;
      expand(top, screen->width, scale);
      for (int32_t line = 1; line < scale; ++line) copyBytes(top + line * pitch, top, rowBytes);
    }
  }
}

const ScaledHalf plainScaledBlitters = scaledHalf<0, PlainExpander>(std::make_index_sequence<24>());

}  // namespace blitters

namespace {

ScaledBlitterTable joinScaledHalves(const blitters::ScaledHalf& plain,
                                    const blitters::ScaledHalf& vector) {
  ScaledBlitterTable table{};
  for (size_t i = 0; i < 24; ++i) table[i] = plain[i], table[24 + i] = vector[i];
  return table;
}

// An 8-bit display: the rows are copied and widened a byte at a time.
void scaledCopyBlitter(uint8_t* destination, int32_t destinationPitch, int32_t scale) {
  blitters::blitScaled(copyBlitter, blitters::PlainExpander<1>::row, 1, destination,
                       destinationPitch, scale);
}

}  // namespace

const ScaledBlitterTable& scaledBlitterTable() {
  using namespace blitters;
  static const ScaledBlitterTable sse2 = joinScaledHalves(plainScaledBlitters, sse2ScaledBlitters);
  static const ScaledBlitterTable avx2 = joinScaledHalves(plainScaledBlitters, avx2ScaledBlitters);
  return vectorLevel() == VectorLevel::avx2 ? avx2 : sse2;
}

ScaledBlitter chooseScaledBlitter(int32_t displayDepth, int32_t rgbOrder) {
  int32_t index = blitters::chooseBlitterIndex(displayDepth, rgbOrder);
  if (index == -2) return scaledCopyBlitter;
  return index < 0 ? nullptr : scaledBlitterTable()[index];
}

}  // namespace krgfx
