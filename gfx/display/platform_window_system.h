// The window system of the platform the runtime was built for: X11 on Linux,
// user32 and gdi32 on Windows. The window layer opens it by default.
#pragma once

#include "gfx/display/window_layer.h"

namespace krgfx {

// A connected window system for the presentation path, or null when the
// platform offers none (no display to reach).
WindowSystem* openPlatformWindowSystem(PresentPath path);
void closePlatformWindowSystem(WindowSystem* system);

}  // namespace krgfx
