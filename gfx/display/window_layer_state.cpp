// The window layer's process-wide state.
#include "gfx/display/window_layer.h"

#include "gfx/display/platform_window_system.h"

namespace krgfx {

WindowLayer windowLayer;
std::atomic<bool> presenterRunning;

WindowSystemProvider windowSystemProvider = {openPlatformWindowSystem, closePlatformWindowSystem,
                                             nullptr};

}  // namespace krgfx
