// Showing rows on the canvas: the round converts them into an RGBA staging
// buffer under the driver lock (or, handed whole rows, compares them with
// the canvas at once); after the round, without the lock, the browser
// thread copies the changed ones out of the shared memory (ImageData cannot
// view it) and puts them on the canvas.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstring>

#include "gfx/display/changed_rows.h"
#include "gfx/display/web/web_window_system.h"

namespace krgfx {

namespace {

// Runs of changed rows closer than this are sent as one.
constexpr int32_t joinGap = 8;
// The Blitter leaves the fourth byte of each pixel as it pleases; the canvas
// would keep it as the pixel's alpha. The rows are compared and taken as
// opaque (RGBA in little-endian memory: alpha is the top byte).
constexpr uint32_t opaque = 0xFF000000u;

}  // namespace

PixelSurface WebWindowSystem::surface() {
  if (!windowOpen_) return {};
  return {staging_.data(), width_ * 4, true};
}

// The span of staged rows that the round's end compares with the canvas.
void WebWindowSystem::stagePresented(int32_t first, int32_t last) {
  stagedFirst_ = stagedFirst_ < 0 ? first : std::min(stagedFirst_, first);
  stagedLast_ = std::max(stagedLast_, last);
}

bool WebWindowSystem::presentRows(int32_t first, int32_t last) {
  if (!windowOpen_) return false;
  first = std::max(first, 0);
  last = std::min(last, height_ - 1);
  if (first <= last) stagePresented(first, last);
  return true;
}

bool WebWindowSystem::presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first,
                                    int32_t last) {
  if (!windowOpen_) return false;
  first = std::max(first, 0);
  last = std::min(last, height_ - 1);
  if (first > last) return true;
  // Whole rows one after another, as the runtime's pictures are, are
  // compared with the canvas straight from the picture, under the lock:
  // no copy of every row into the staging buffer.
  if (pitch == width_ * 4) {
    std::vector<RowRun> runs = takeChangedRows(pixels, shown_.data(), pitch, first, last, joinGap,
                                               opaque);
    takenRuns_.insert(takenRuns_.end(), runs.begin(), runs.end());
    return true;
  }
  for (int32_t row = first; row <= last; ++row)
    std::memcpy(staging_.data() + static_cast<size_t>(row) * width_ * 4,
                pixels + static_cast<size_t>(row) * pitch, static_cast<size_t>(width_) * 4);
  stagePresented(first, last);
  return true;
}

// Rows that differ from what the canvas shows go to the browser's thread,
// all runs of a round in one call; a picture that is drawn again unchanged
// costs a comparison only. The browser thread keeps one ImageData of the
// whole canvas, copies the runs' rows into it and puts only those rows.
void WebWindowSystem::finishRound() {
  if (!windowOpen_) return;
  std::vector<RowRun> runs;
  runs.swap(takenRuns_);
  if (stagedFirst_ >= 0) {
    std::vector<RowRun> staged = takeChangedRows(staging_.data(), shown_.data(), width_ * 4,
                                                 stagedFirst_, stagedLast_, joinGap, opaque);
    runs.insert(runs.end(), staged.begin(), staged.end());
    stagedFirst_ = stagedLast_ = -1;
  }
  if (runs.empty()) return;
  MAIN_THREAD_EM_ASM(
      {
        var context = Module['krgfxContext'];
        if (!context) return;
        var image = Module['krgfxImage'];
        if (!image || image.width != $1 || image.height != $2)
          image = Module['krgfxImage'] = context.createImageData($1, $2);
        var rowBytes = $1 * 4;
        for (var run = 0; run < $4; run++) {
          var first = HEAP32[($3 >> 2) + run * 2];
          var rows = HEAP32[($3 >> 2) + run * 2 + 1] - first + 1;
          var start = first * rowBytes;
          image.data.set(HEAPU8.subarray($0 + start, $0 + start + rows * rowBytes), start);
          context.putImageData(image, 0, 0, 0, first, $1, rows);
        }
        Module['krgfxFrames'] = (Module['krgfxFrames'] || 0) + 1;
      },
      shown_.data(), width_, height_, runs.data(), runs.size());
}

}  // namespace krgfx
