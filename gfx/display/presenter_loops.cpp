// The presenter's rounds: about every 10 ms, under the driver lock, show the
// span of changed rows, refresh keyState and pump the window's messages.
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

#include <krgfx/gfx.h>
#include "gfx/display/window_layer.h"
#include "input/window_input.h"

namespace krgfx {

namespace {

constexpr auto roundPause = std::chrono::milliseconds(10);
constexpr int32_t roundPauseMs = 10;
// Waiting for a wake-up after a round with nothing to show; the limit only
// bounds what a missed wake-up would cost.
constexpr int32_t idlePauseMs = 100;
constexpr auto reopenPause = std::chrono::milliseconds(300);

// The first marked row from `row` on, eight marks at a time; `rows` when
// none is.
int32_t nextDirtyRow(const uint8_t* marks, int32_t row, int32_t rows) {
  for (; row + 8 <= rows; row += 8) {
    uint64_t eight;
    std::memcpy(&eight, marks + row, 8);
    if (eight) break;
  }
  while (row < rows && !marks[row]) ++row;
  return row;
}

// First and last display row to show; false when none changed. The marks
// are per framebuffer row, and each framebuffer row fills scanlineSize
// display rows. Rows marked without a write since they were shown are left
// out: their pixels are on the display already.
bool findDirtySpan(GfxScreen& screen, int32_t* first, int32_t* last) {
  dropUnwrittenMarks(screen);
  int32_t rows = screen.height;
  int32_t row = nextDirtyRow(screen.dirtyLines, 0, rows);
  if (row == rows) return false;
  *first = row * screen.scanlineSize;
  row = rows - 1;
  while (!screen.dirtyLines[row]) --row;
  *last = (row + 1) * screen.scanlineSize - 1;
  return true;
}

void clearDirtyLines(GfxScreen& screen) {
  std::memset(screen.dirtyLines, 0, static_cast<size_t>(screen.height) * screen.scanlineSize);
  forgetShownRows(screen);
}

// A changed palette is shown by converting every row again.
void takePaletteChange() {
  if (!windowLayer.paletteChanged) return;
  windowLayer.paletteChanged = false;
  markAllRowsDirty();
}

void gdiRound(WindowSystem& system) {
  WindowLayer& layer = windowLayer;
  GfxScreen& screen = *gfxScreen;
  takePaletteChange();
  int32_t first, last;
  if (findDirtySpan(screen, &first, &last)) {
    bool shown;
    if (!layer.conversion.empty()) {
      convertPicture(layer.conversion.data(), layer.conversionPitch);
      pictureClientRows(first, last, &first, &last);
      shown = system.presentPixels(layer.conversion.data(), layer.conversionPitch, first, last);
    } else {
      shown = system.presentPixels(screen.visibleFramebuffer, screen.pitch, first, last);
    }
    if (!shown) presentationFailed();
  }
  clearDirtyLines(screen);
  if (layer.windowActive) refreshKeyStateFromVirtualKeys(system);
  pumpMessages();
}

// Full screen whose display mode another program changed: the window is
// closed and opened again, retrying every 300 ms, before anything is shown.
bool fullScreenLost(WindowSystem& system) {
  WindowLayer& layer = windowLayer;
  if (!(layer.flags & flagFullScreen)) return false;
  WindowRect display = system.screenRect();
  if (system.hasWindow() && display.right - display.left == layer.clientWidth &&
      display.bottom - display.top == layer.clientHeight)
    return false;
  auto now = std::chrono::steady_clock::now();
  if (now < layer.nextReopen) return true;
  layer.nextReopen = now + reopenPause;
  layer.closeWindow();
  if (layer.openWindow() != 0) return true;
  markAllRowsDirty();
  return false;
}

void directXRound(WindowSystem& system) {
  WindowLayer& layer = windowLayer;
  GfxScreen& screen = *gfxScreen;
  if ((layer.windowActive || !(layer.flags & flagFullScreen)) && !fullScreenLost(system)) {
    takePaletteChange();
    int32_t first, last;
    PixelSurface surface{};
    if (findDirtySpan(screen, &first, &last) && (layer.blitter || layer.scaledBlitter) &&
        (surface = system.surface()).pixels) {
      convertPicture(surface.pixels, surface.pitch, surface.hostMemory);
      pictureClientRows(first, last, &first, &last);
      if (!system.presentRows(first, last)) presentationFailed();
      clearDirtyLines(screen);
    }
  }
  if (layer.windowActive) refreshKeyStateFromScanCodes(system);
  pumpMessages();
}

// After a round: whether the next wait may last until a wake-up.
bool mayIdle(WindowSystem& system) {
  if (windowLayer.paletteChanged || !system.quietUntilWoken()) return false;
  int32_t first, last;
  return !findDirtySpan(*gfxScreen, &first, &last);
}

// Takes the lock for one round; false when the presenter is to stop. The
// window system finishes its presentation after the lock is free.
template <typename Round>
bool lockedRound(Round round) {
  lockWindowLayer();
  bool go = presenterRunning && gfxScreen && windowLayer.system;
  WindowSystem* system = go ? windowLayer.system : nullptr;
  if (go) round(*system);
  unlockWindowLayer();
  if (system) system->finishRound();
  return go;
}

// One DirectX round; the milliseconds to wait before the next. `showing`:
// there were rows to show.
int32_t directXRoundThenPause(WindowSystem& system, bool* showing) {
  int32_t first, last;
  *showing = findDirtySpan(*gfxScreen, &first, &last);
  directXRound(system);
  windowLayer.presenterIdle = mayIdle(system);
  return windowLayer.presenterIdle ? idlePauseMs : roundPauseMs;
}

}  // namespace

bool presentRound() {
  if (windowLayer.path == PresentPath::sharedSurface) return lockedRound(directXRound);
  return lockedRound(gdiRound);
}

void runGdiPresenter() {
  windowLayer.windowActive = 1;
  signalPresenterReady();
  while (presenterRunning && lockedRound(gdiRound)) std::this_thread::sleep_for(roundPause);
}

void runDirectXPresenter() {
  windowLayer.windowActive = 1;
  signalPresenterReady();
  int32_t pause = roundPauseMs;
  auto lastShown = std::chrono::steady_clock::time_point{};
  while (presenterRunning) {
    windowLayer.system->waitForEvents(pause);
    // However often the program wakes it, the presenter shows rows at most
    // once a round.
    std::this_thread::sleep_until(lastShown + roundPause);
    awaitPendingRetrace();
    bool showing = false;
    auto round = [&](WindowSystem& system) { pause = directXRoundThenPause(system, &showing); };
    if (!lockedRound(round)) break;
    if (showing) lastShown = std::chrono::steady_clock::now();
  }
}

bool presenterToWake() {
  WindowLayer& layer = windowLayer;
  if (!layer.presenterIdle || !gfxScreen || !layer.system) return false;
  int32_t first, last;
  if (!layer.paletteChanged && !findDirtySpan(*gfxScreen, &first, &last)) return false;
  layer.presenterIdle = false;
  return true;
}

}  // namespace krgfx
