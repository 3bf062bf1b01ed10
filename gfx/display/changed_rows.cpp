#include "gfx/display/changed_rows.h"

#include <cstring>

namespace krgfx {

std::vector<RowRun> takeChangedRows(const uint8_t* picture, uint8_t* shown, int32_t rowBytes,
                                    int32_t first, int32_t last, int32_t joinGap) {
  std::vector<RowRun> runs;
  if (rowBytes <= 0) return runs;
  size_t bytes = static_cast<size_t>(rowBytes);
  for (int32_t row = first; row <= last; ++row) {
    const uint8_t* now = picture + row * bytes;
    uint8_t* before = shown + row * bytes;
    if (std::memcmp(now, before, bytes) == 0) continue;
    std::memcpy(before, now, bytes);
    if (!runs.empty() && row - runs.back().last <= joinGap + 1)
      runs.back().last = row;
    else
      runs.push_back({row, row});
  }
  return runs;
}

}  // namespace krgfx
