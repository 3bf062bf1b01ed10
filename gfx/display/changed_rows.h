// The rows of a picture that differ from what was shown last, in runs: a
// window system whose every shown row costs a copy to another thread (the
// browser's) sends only those.
#pragma once

#include <cstdint>
#include <vector>

namespace krgfx {

struct RowRun {
  int32_t first, last;  // inclusive
};

// Compares rows first to last of `picture` with the same rows of `shown`
// (both rowBytes a row, row 0 at the pointer), copies the rows that differ
// into `shown` and returns them as runs in order; runs closer than
// `joinGap` unchanged rows are joined (the rows between are sent again).
// `forcedBits` are set in every whole 4-byte pixel of a row as it is
// compared and copied (an opaque alpha where the picture's fourth byte is
// left undefined).
std::vector<RowRun> takeChangedRows(const uint8_t* picture, uint8_t* shown, int32_t rowBytes,
                                    int32_t first, int32_t last, int32_t joinGap,
                                    uint32_t forcedBits = 0);

}  // namespace krgfx
