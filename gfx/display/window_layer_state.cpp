// The window layer's process-wide state.
#include "gfx/display/window_layer.h"

WindowLayer windowLayer;
std::atomic<bool> presenterRunning;

namespace {
WindowSystem* noWindowSystem(PresentPath) { return nullptr; }
void closeNothing(WindowSystem*) {}
}  // namespace

WindowSystemProvider windowSystemProvider = {noWindowSystem, closeNothing};
