// Starting and stopping the window layer, the presenter thread's start-up
// handshake, the driver lock and the operations the window drivers share.
#include "gfx/display/window_layer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include <krgfx/gfx.h>
#include "gfx/display/presenter_thread_platform.h"
#include "gfx/text/bell.h"
#include "input/window_input.h"

namespace krgfx {

namespace {

// Re-entrant like the critical section it stands for: the main thread may
// take it again while it holds it.
std::recursive_mutex driverLock;
std::thread presenterThread;

// The start-up handshake: the window is up, or the thread has ended.
enum class Startup { waiting, ready, ended };
std::mutex startupMutex;
std::condition_variable startupChanged;
Startup startup;

// BEL in printed text rings the window's bell while the window is up.
void windowBell(int32_t, int32_t) {
  std::lock_guard<std::recursive_mutex> guard(driverLock);
  if (windowLayer.system && !windowLayer.windowGone) windowLayer.system->bell();
}

void announce(Startup state) {
  std::lock_guard<std::mutex> guard(startupMutex);
  startup = state;
  startupChanged.notify_all();
}

// The window belongs to the presenter thread and closes there, before the
// thread ends: a window left to the end of its thread is torn down without
// its surfaces and devices being let go, and a few hundred kilobytes stay
// behind with every screen opened and closed.
void presenterThreadMain() {
  adoptPresenterThread();
  windowLayer.presenterMain();
  {
    std::lock_guard<std::recursive_mutex> guard(driverLock);
    if (windowLayer.closeWindow) windowLayer.closeWindow();
  }
  announce(Startup::ended);
}

// False when the system refuses a new thread.
bool startPresenterThread() {
  try {
    if (windowSystemProvider.startThread)
      windowSystemProvider.startThread(presenterThread, presenterThreadMain);
    else
      presenterThread = std::thread(presenterThreadMain);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool validDepth(int32_t depth) {
  return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 15 || depth == 16 ||
         depth == 24 || depth == 32;
}

}  // namespace

void lockWindowLayer() { driverLock.lock(); }
void unlockWindowLayer() {
  WindowSystem* wake = presenterToWake() ? windowLayer.system : nullptr;
  driverLock.unlock();
  if (wake) wake->wakeWaiter();
}

void signalPresenterReady() { announce(Startup::ready); }

bool openPresenterWindow() {
  WindowSystem* system = windowSystemProvider.open(windowLayer.path);
  if (!system) return false;
  {
    std::lock_guard<std::recursive_mutex> guard(driverLock);
    windowLayer.system = system;
    system->suspendScreenSaver();
  }
  return windowLayer.openWindow() == 0;
}

int32_t startWindowLayer(const char* title, int32_t width, int32_t height, int32_t depth,
                         int32_t refreshRate, int32_t flags) {
  resetMouseForWindowLayer();
  WindowLayer& layer = windowLayer;
  layer.width = width;
  layer.height = height;
  layer.depth = depth;
  layer.refreshRate = refreshRate;
  layer.flags = flags;
  std::snprintf(layer.title, sizeof layer.title, "%s", title ? title : "");
  std::snprintf(layer.className, sizeof layer.className, "krgfxclass_%08x",
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&windowLayer)));
  if (width <= 0 || height <= 0 || !layer.presenterMain) return -1;
  presenterRunning = true;
  if (flags & flagOpenGl) return 0;  // no presenter thread
  announce(Startup::waiting);
  forgetPresenterThread();
  if (!startPresenterThread()) {
    presenterRunning = false;
    return -1;
  }
  std::unique_lock<std::mutex> wait(startupMutex);
  startupChanged.wait(wait, [] { return startup != Startup::waiting; });
  if (startup == Startup::ended) return -1;
  wait.unlock();
  if (flags & flagHighPriority) setPresenterPriority(true);
  platformBell = windowBell;
  return 0;
}

void stopWindowLayer() {
  presenterRunning = false;
  BellRoutine ours = windowBell;
  platformBell.compare_exchange_strong(ours, terminalBell);
  // The program may still hold the lock: free it so the presenter can finish.
  if (gfxScreen && gfxScreen->lockCount != 0) {
    gfxScreen->lockCount = 0;
    unlockWindowLayer();
  }
  {
    std::lock_guard<std::recursive_mutex> guard(driverLock);
    if (windowLayer.system) windowLayer.system->wakeWaiter();
  }
  if (presenterThread.joinable()) presenterThread.join();
  forgetPresenterThread();
  WindowLayer& layer = windowLayer;
  if (layer.closeWindow) layer.closeWindow();
  if (WindowSystem* system = layer.system) {
    system->confinePointer(false);
    system->restoreScreenSaver();
    layer.system = nullptr;
    windowSystemProvider.close(system);
  }
  // The lost window's pending close request ends with it: a later screen
  // starts afresh, whichever driver it has.
  layer.windowGone = false;
}

void setWindowPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (index < 0 || index > 255) return;
  windowLayer.paletteEntries[index] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                                       static_cast<uint8_t>(blue), 4};
  windowLayer.paletteChanged = true;
}

void waitRetraceBySleeping() {
  int32_t rate;
  {
    std::lock_guard<std::recursive_mutex> guard(driverLock);
    rate = gfxScreen ? gfxScreen->refreshRate : 0;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(rate > 0 ? 1000 / rate : 16));
}

// The window belongs to the presenter thread, but an X11 connection may be
// used by whichever thread holds the driver lock.
void setLayerTitle(const char* title) {
  if (!title) return;
  std::lock_guard<std::recursive_mutex> guard(driverLock);
  WindowLayer& layer = windowLayer;
  std::snprintf(layer.title, sizeof layer.title, "%s", title);
  if (layer.system && !layer.windowGone && layer.system->hasWindow())
    layer.system->setTitle(layer.title);
}

int32_t moveMainWindow(int32_t x, int32_t y) {
  std::lock_guard<std::recursive_mutex> guard(driverLock);
  WindowLayer& layer = windowLayer;
  WindowSystem* system = layer.system;
  if (!system || layer.windowGone || !system->hasWindow() || (layer.flags & flagFullScreen))
    return 0;
  if (x == INT32_MIN && y == INT32_MIN) {
    WindowRect rect = system->windowRect();
    return static_cast<int32_t>((static_cast<uint32_t>(rect.left) & 0xFFFF) |
                                static_cast<uint32_t>(rect.top) << 16);
  }
  system->moveWindow(x, y);
  return 0;
}

std::vector<int32_t> listWindowModes(int32_t depth) {
  std::lock_guard<std::recursive_mutex> guard(driverLock);
  WindowSystem* system = windowLayer.system;
  std::vector<int32_t> modes;
  if (!system || windowLayer.windowGone || !validDepth(depth)) return modes;
  // Every depth is shown through a Blitter, so every display mode serves it.
  for (const DisplayMode& mode : system->displayModes())
    if (mode.width > 0 && mode.width < 0x8000 && mode.height > 0 && mode.height <= 0xFFFF)
      modes.push_back(mode.width << 16 | mode.height);
  std::sort(modes.begin(), modes.end());
  modes.erase(std::unique(modes.begin(), modes.end()), modes.end());
  return modes;
}

}  // namespace krgfx
