// The Win32 window system is the platform's: the window layer opens it.
#include "gfx/display/platform_window_system.h"

#include "gfx/display/win32/win32_window_system.h"

namespace krgfx {

WindowSystem* openPlatformWindowSystem(PresentPath path) {
  auto* system = new Win32WindowSystem;
  if (!system->open(path)) {
    delete system;
    return nullptr;
  }
  return system;
}

void closePlatformWindowSystem(WindowSystem* system) { delete system; }

}  // namespace krgfx
