// Which window system a Linux program opens: KRGFX_WINDOW_SYSTEM ("wayland"
// or "x11") forces one; otherwise Wayland when WAYLAND_DISPLAY or
// WAYLAND_SOCKET reaches a compositor, else X11 on DISPLAY.
#include <cstdlib>
#include <cstring>

#include "gfx/display/platform_window_system.h"

namespace krgfx {

#if !KRGFX_HAVE_WAYLAND
WindowSystem* openWaylandWindowSystem(PresentPath) { return nullptr; }
#endif

namespace {

bool environmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

WindowSystem* openPlatformWindowSystem(PresentPath path) {
  const char* forced = std::getenv("KRGFX_WINDOW_SYSTEM");
  if (forced && std::strcmp(forced, "wayland") == 0) return openWaylandWindowSystem(path);
  if (forced && std::strcmp(forced, "x11") == 0) return openX11WindowSystem(path);
  if (environmentSet("WAYLAND_DISPLAY") || environmentSet("WAYLAND_SOCKET")) {
    if (WindowSystem* wayland = openWaylandWindowSystem(path)) return wayland;
  }
  return openX11WindowSystem(path);
}

void closePlatformWindowSystem(WindowSystem* system) { delete system; }

}  // namespace krgfx
