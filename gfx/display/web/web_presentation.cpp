// Showing rows on the canvas: the round converts them into an RGBA staging
// buffer under the driver lock; after the round, without the lock, the
// browser thread copies them out of the shared memory (ImageData cannot view
// it) and puts them on the canvas.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstring>

#include "gfx/display/changed_rows.h"
#include "gfx/display/web/web_window_system.h"

namespace krgfx {

PixelSurface WebWindowSystem::surface() {
  if (!windowOpen_) return {};
  return {staging_.data(), width_ * 4, true};
}

// The Blitter leaves the fourth byte of each pixel as it pleases; the canvas
// takes it as opacity.
void WebWindowSystem::stagePresented(int32_t first, int32_t last) {
  for (int32_t row = first; row <= last; ++row) {
    uint8_t* pixel = staging_.data() + static_cast<size_t>(row) * width_ * 4;
    for (int32_t x = 0; x < width_; ++x) pixel[x * 4 + 3] = 0xFF;
  }
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
  for (int32_t row = first; row <= last; ++row)
    std::memcpy(staging_.data() + static_cast<size_t>(row) * width_ * 4,
                pixels + static_cast<size_t>(row) * pitch, static_cast<size_t>(width_) * 4);
  stagePresented(first, last);
  return true;
}

// Rows that differ from what the canvas shows go to the browser's thread in
// runs; a picture that is drawn again unchanged costs a comparison only.
void WebWindowSystem::finishRound() {
  if (stagedFirst_ < 0 || !windowOpen_) return;
  constexpr int32_t joinGap = 8;
  std::vector<RowRun> runs = takeChangedRows(staging_.data(), shown_.data(), width_ * 4,
                                             stagedFirst_, stagedLast_, joinGap);
  stagedFirst_ = stagedLast_ = -1;
  for (const RowRun& run : runs) {
    int32_t rows = run.last - run.first + 1;
    const uint8_t* start = shown_.data() + static_cast<size_t>(run.first) * width_ * 4;
    MAIN_THREAD_EM_ASM(
        {
          var context = Module['krgfxContext'];
          if (!context) return;
          var image = context.createImageData($1, $2);
          image.data.set(HEAPU8.subarray($0, $0 + $1 * $2 * 4));
          context.putImageData(image, 0, $3);
        },
        start, width_, rows, run.first);
  }
  if (!runs.empty())
    MAIN_THREAD_EM_ASM({ Module['krgfxFrames'] = (Module['krgfxFrames'] || 0) + 1; });
}

}  // namespace krgfx
