// The X11 window system: one display connection per window layer start,
// opened and used by the presenter thread (and by the program's thread only
// under the driver lock).
#pragma once

#include "gfx/display/window_layer.h"

// Null when no X display is reachable, or for the shared-surface path when
// the server has no MIT-SHM (a remote display).
WindowSystem* openX11WindowSystem(PresentPath path);
void closeX11WindowSystem(WindowSystem* system);
