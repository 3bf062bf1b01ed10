// Run-length encoded BMP pixels (compression 1 for 8-bit, 2 for 4-bit
// palette indices).
#pragma once

#include <cstdint>
#include <cstdio>

#include "gfx/image/row_converters.h"

namespace krgfx {

// The part of the picture kept in the target, and how indices reach it.
struct RleOutput {
  uint8_t* const* rows;  // the target's rows, top first
  int32_t width;         // columns and rows kept; runs beyond them are dropped
  int32_t height;
  int32_t bytesPerPixel;
  RowConverter convert;  // a palette converter
  const ChannelMask* channels;
};

// Decodes the runs from the stream's position into the bottom-up picture of
// pictureHeight rows: encoded runs, absolute runs, end of line, delta and
// end of bitmap. Pixels the data skips keep what the target held; a run past
// its row is cut there, and decoding stops once a delta leaves the picture.
// 0, or errIoFailed when the data ends before its end-of-bitmap code (the
// runs decoded so far stay).
int32_t decodeRle(std::FILE* file, int32_t bitCount, int32_t pictureHeight, const RleOutput& out);

}  // namespace krgfx
