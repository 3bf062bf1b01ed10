// The window layer's process-wide state.
#include "gfx/display/window_layer.h"

#include "gfx/display/x11/x11_window_system.h"

WindowLayer windowLayer;
std::atomic<bool> presenterRunning;

WindowSystemProvider windowSystemProvider = {openX11WindowSystem, closeX11WindowSystem, nullptr};
