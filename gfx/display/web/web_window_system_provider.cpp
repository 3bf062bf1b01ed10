// The canvas is the platform's window system in a browser.
#include "gfx/display/platform_window_system.h"

#include "gfx/display/web/web_window_system.h"

namespace krgfx {

// Both paths show rows the same way: "DirectX" converts into the staging
// buffer itself, "GDI" hands over rows that are then copied into it.
WindowSystem* openPlatformWindowSystem(PresentPath /*path*/) {
  auto* system = new WebWindowSystem;
  if (!system->open()) {
    delete system;
    return nullptr;
  }
  return system;
}

void closePlatformWindowSystem(WindowSystem* system) { delete system; }

}  // namespace krgfx
