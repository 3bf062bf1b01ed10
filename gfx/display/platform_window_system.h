// The window system of the platform the runtime was built for: Wayland or
// X11 on Linux, user32 and gdi32 on Windows. The window layer opens it by
// default.
#pragma once

#include "gfx/display/window_layer.h"

namespace krgfx {

// A connected window system for the presentation path, or null when the
// platform offers none (no display to reach).
WindowSystem* openPlatformWindowSystem(PresentPath path);
void closePlatformWindowSystem(WindowSystem* system);

// Linux's two, which openPlatformWindowSystem chooses between; null when
// their display server cannot be reached or the build has no such back end.
WindowSystem* openX11WindowSystem(PresentPath path);
WindowSystem* openWaylandWindowSystem(PresentPath path);

}  // namespace krgfx
