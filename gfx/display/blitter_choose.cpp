// Choosing a Blitter for the open screen and a display.
#include "gfx/cpu_features.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// The position within a group of four: display depths 15, 16, 24 and 32.
int32_t displayColumn(int32_t displayDepth) {
  constexpr int32_t columns[4] = {15, 16, 24, 32};
  for (int32_t column = 0; column < 4; ++column)
    if (columns[column] == displayDepth) return column;
  return -1;
}

BlitterTable joinHalves(const blitters::BlitterHalf& plain, const blitters::BlitterHalf& vector) {
  BlitterTable table{};
  for (size_t i = 0; i < 24; ++i) table[i] = plain[i], table[24 + i] = vector[i];
  return table;
}

}  // namespace

const BlitterTable& blitterTable() {
  static const BlitterTable sse2 = joinHalves(blitters::plainBlitters, blitters::sse2Blitters);
  static const BlitterTable avx2 = joinHalves(blitters::plainBlitters, blitters::avx2Blitters);
  return vectorLevel() == VectorLevel::avx2 ? avx2 : sse2;
}

int32_t blitters::chooseBlitterIndex(int32_t displayDepth, int32_t rgbOrder) {
  const GfxScreen* screen = gfxScreen;
  if (!screen || !blitterWorkTable) return -1;
  const bool redLow = rgbOrder != 0;
  fillWorkTable(redLow);
  if (displayDepth == 8) return screen->depth <= 8 ? -2 : -1;
  const int32_t column = displayColumn(displayDepth);
  if (column < 0) return -1;
  const bool vector = (screen->flags & screenMmx) && screen->scanlineSize == 1 &&
                      screen->width % 4 == 0;
  const int32_t group = screen->depth <= 8 ? 0 : screen->depth == 16 ? 1 : 2;
  return (vector ? 24 : 0) + (redLow ? 0 : 12) + group * 4 + column;
}

Blitter chooseBlitter(int32_t displayDepth, int32_t rgbOrder) {
  int32_t index = blitters::chooseBlitterIndex(displayDepth, rgbOrder);
  if (index == -2) return copyBlitter;
  return index < 0 ? nullptr : blitterTable()[index];
}

}  // namespace krgfx
