// The Win32 window system's entry points. No Win32 window system is built
// in yet: the window drivers' init fails and driver selection falls back to
// the null driver.
#include "gfx/display/platform_window_system.h"

WindowSystem* openPlatformWindowSystem(PresentPath /*path*/) { return nullptr; }

void closePlatformWindowSystem(WindowSystem* system) { delete system; }
