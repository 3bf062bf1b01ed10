// Showing rows on the canvas: the round converts them into an RGBA staging
// buffer under the driver lock; after the round, without the lock, the rows
// that changed are handed to the page's painter worker (krgfx_page.js),
// which owns the canvas as an OffscreenCanvas, or in a browser without one
// to the browser thread. Either copies them out of the shared memory
// (ImageData cannot view it) and puts them on the canvas.
#include <emscripten/emscripten.h>
#include <emscripten/threading.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "gfx/display/changed_rows.h"
#include "gfx/display/web/web_window_system.h"

namespace krgfx {

namespace {

// How long a round waits for the painter to take the last one; the painter
// takes a round in well under a millisecond.
constexpr int32_t painterPatienceMs = 100;

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
  for (int32_t row = first; row <= last; ++row)
    std::memcpy(staging_.data() + static_cast<size_t>(row) * width_ * 4,
                pixels + static_cast<size_t>(row) * pitch, static_cast<size_t>(width_) * 4);
  stagePresented(first, last);
  return true;
}

// The canvas takes the window's size and starts black, shown by the
// page's painter where the browser allows one.
void WebWindowSystem::showCanvas() {
  static_assert(sizeof(void*) == 4 && sizeof(mailbox_.sequence) == 4 &&
                    offsetof(PainterMailbox, runCount) == 7 * 4,
                "krgfx_page.js reads the mailbox as eight 32-bit numbers");
  mailbox_.closing = 0;
  mailbox_.done.store(mailbox_.sequence.load());
  painting_ = MAIN_THREAD_EM_ASM_INT({ return Module['krgfxShowCanvas']($0, $1, $2); }, width_,
                                     height_, &mailbox_);
}

// The painter lets go of the window's rows before they are freed.
void WebWindowSystem::releasePainter() {
  if (!painting_) return;
  painterCaughtUp(painterPatienceMs);
  mailbox_.closing = 1;
  mailbox_.sequence.fetch_add(1);
  emscripten_futex_wake(&mailbox_.sequence, 1);
  painterCaughtUp(painterPatienceMs);
  painting_ = false;
}

// Rows that differ from what the canvas shows go to whoever paints the
// canvas, all runs of a round at once; a picture that is drawn again
// unchanged costs a comparison only.
void WebWindowSystem::finishRound() {
  if (stagedFirst_ < 0 || !windowOpen_) return;
  constexpr int32_t joinGap = 8;
  // The Blitter leaves the fourth byte of each pixel as it pleases; the
  // canvas would keep it as the pixel's alpha. The rows are compared and
  // taken as opaque (RGBA in little-endian memory: alpha is the top byte).
  constexpr uint32_t opaque = 0xFF000000u;
  // The painter may still be copying the last round's rows out of shown_.
  if (painting_ && !painterCaughtUp(painterPatienceMs)) return;
  std::vector<RowRun> runs = takeChangedRows(staging_.data(), shown_.data(), width_ * 4,
                                             stagedFirst_, stagedLast_, joinGap, opaque);
  stagedFirst_ = stagedLast_ = -1;
  if (runs.empty()) return;
  if (painting_)
    paintInPainter(std::move(runs));
  else
    paintOnBrowserThread(runs);
}

// Without a painter the browser thread keeps one ImageData of the whole
// canvas, copies the runs' rows into it and puts only those rows.
void WebWindowSystem::paintOnBrowserThread(const std::vector<RowRun>& runs) {
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

// The painter worker does the same in its own time: the round only posts
// the runs, and neither the browser's thread nor the page's layout takes
// part in showing them.
void WebWindowSystem::paintInPainter(std::vector<RowRun> runs) {
  paintedRuns_ = std::move(runs);
  mailbox_.pixels = shown_.data();
  mailbox_.width = width_;
  mailbox_.height = height_;
  mailbox_.runs = paintedRuns_.data();
  mailbox_.runCount = static_cast<int32_t>(paintedRuns_.size());
  mailbox_.sequence.fetch_add(1);
  emscripten_futex_wake(&mailbox_.sequence, 1);
}

// Whether the painter has taken every round posted to it; waits at most
// timeoutMs for it.
bool WebWindowSystem::painterCaughtUp(int32_t timeoutMs) {
  auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int32_t done = mailbox_.done.load();
    if (done == mailbox_.sequence.load()) return true;
    auto left = std::chrono::duration<double, std::milli>(end - Clock::now()).count();
    if (left <= 0) return false;
    emscripten_futex_wait(&mailbox_.done, static_cast<uint32_t>(done), left);
  }
}

}  // namespace krgfx
