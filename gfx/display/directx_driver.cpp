// The "DirectX" driver: the presenter converts the changed rows straight
// into a surface that the window system owns (MIT-SHM on X11) and shows them
// from there. Full screen takes a display mode of the screen's width and its
// height or the next taller one, with the picture centred vertically.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <krgfx/gfx.h>
#include "gfx/display/window_layer.h"
#include "input/window_input.h"

namespace krgfx {

namespace {

// A program's waitRetrace and the presenter's next round.
std::mutex retraceMutex;
std::condition_variable retraceDone;
bool retracePending;
bool retraceSignalled;

// Heights tried after the screen's own when no mode of it exists.
constexpr int32_t tallerHeights[] = {240, 480, 600, 768, 1024};

// A mode of the screen's width and its height or the next taller one;
// answers the mode's height, 0 when there is none.
int32_t directXSetMode() {
  const WindowLayer& layer = windowLayer;
  for (int32_t modeHeight = layer.height; modeHeight <= 1023;) {
    if (layer.system->setDisplayMode({layer.width, modeHeight, layer.refreshRate}))
      return modeHeight;
    const int32_t* next = std::upper_bound(std::begin(tallerHeights), std::end(tallerHeights),
                                           modeHeight);
    if (next == std::end(tallerHeights)) break;
    modeHeight = *next;
  }
  return 0;
}

int32_t directXOpenWindow() {
  WindowLayer& layer = windowLayer;
  WindowSystem& system = *layer.system;
  WindowSpec windowSpec;
  if (layer.flags & flagFullScreen) {
    if (!fullScreenWindowSpec(&windowSpec, directXSetMode)) return -1;
  } else {
    windowSpec = mainWindowSpec(layer.height);
    if (layer.windowPlaced) {  // back from full screen: where the window was
      windowSpec.x = layer.windowX, windowSpec.y = layer.windowY;
      windowSpec.centred = false;
    }
  }
  if (!chooseWindowBlitter(system.displayFormat())) return -1;
  if (createMainWindow(windowSpec) != 0) return -1;
  gfxScreen->refreshRate = system.refreshRate();
  return 0;
}

void directXCloseWindow() {
  WindowLayer& layer = windowLayer;
  layer.blitter = nullptr;
  layer.scaledBlitter = nullptr;
  WindowSystem* system = layer.system;
  if (!system) return;
  if (system->hasWindow() && !(layer.flags & flagFullScreen)) {
    WindowRect rect = system->windowRect();
    layer.windowPlaced = true;
    layer.windowX = rect.left;
    layer.windowY = rect.top;
  }
  if (layer.modeChanged) system->restoreDisplayMode();
  layer.modeChanged = false;
  system->destroyWindow();
}

// In a window the surface is shown again as it stands.
void directXRepaint() {
  WindowLayer& layer = windowLayer;
  if (layer.system && !(layer.flags & flagFullScreen))
    if (!layer.system->presentRows(0, layer.clientHeight - 1)) presentationFailed();
}

void directXPresenterMain() {
  if (openPresenterWindow()) runDirectXPresenter();
}

int32_t directXInit(const char* title, int32_t width, int32_t height, int32_t depth,
                    int32_t refreshRate, int32_t flags) {
  windowLayer = WindowLayer{};
  {
    std::lock_guard<std::mutex> guard(retraceMutex);
    retracePending = retraceSignalled = false;
  }
  if (flags & (flagOpenGl | flagColourKeyed)) return -1;
  windowLayer.path = PresentPath::sharedSurface;
  windowLayer.openWindow = directXOpenWindow;
  windowLayer.closeWindow = directXCloseWindow;
  windowLayer.repaint = directXRepaint;
  windowLayer.presenterMain = directXPresenterMain;
  return startWindowLayer(title, width, height, std::max(depth, 8), refreshRate, flags);
}

}  // namespace

void waitRetraceSignalled() {
  lockWindowLayer();
  WindowSystem* system = windowLayer.windowGone ? nullptr : windowLayer.system;
  int32_t rate = gfxScreen ? gfxScreen->refreshRate : 0;
  if (system) {
    std::lock_guard<std::mutex> guard(retraceMutex);
    retraceSignalled = false;
    retracePending = true;
  }
  unlockWindowLayer();
  if (!system) return;
  system->waitForRetrace(rate > 0 ? 1000 / rate + 1 : 20);
  std::lock_guard<std::mutex> guard(retraceMutex);
  retraceSignalled = true;
  retraceDone.notify_all();
}

void awaitPendingRetrace() {
  std::unique_lock<std::mutex> wait(retraceMutex);
  if (!retracePending) return;
  retraceDone.wait_for(wait, std::chrono::milliseconds(20), [] { return retraceSignalled; });
  retracePending = false;
}

const DisplayDriver directXDriver = {
    .name = "DirectX",
    .init = directXInit,
    .exit = stopWindowLayer,
    .lock = lockWindowLayer,
    .unlock = unlockWindowLayer,
    .setPaletteEntry = setWindowPaletteEntry,
    .waitRetrace = waitRetraceSignalled,
    .readMouse = windowReadMouse,
    .placeMouse = windowPlaceMouse,
    .setTitle = setLayerTitle,
    .moveWindow = moveMainWindow,
    .listModes = listWindowModes,
    .showPage = nullptr,
    .pumpInput = nullptr,
};

}  // namespace krgfx
