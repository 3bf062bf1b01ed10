// Pages and the window's title, for programs: the screen's own page
// operations behind the console hooks.
#include <cstdio>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/display/display_driver.h"
#include "gfx/screen.h"
#include "runtime/runtime_state.h"

namespace krgfx {

int32_t setPages(int32_t work, int32_t visible) {
  auto hook = activeHook<&ConsoleHooks::setPages>();
  if (!gfxScreen || !hook) {
    setRuntimeError(errBadCall);
    return -1;
  }
  setRuntimeError(0);
  return hook(work, visible);
}

int32_t copyPage(int32_t source, int32_t destination) {
  auto hook = activeHook<&ConsoleHooks::copyPage>();
  if (!gfxScreen || !hook) return setRuntimeError(errBadCall);
  return hook(source, destination);
}

int32_t setWindowTitle(const std::string& text) {
  std::snprintf(windowTitle, sizeof windowTitle, "%s", text.c_str());
  if (gfxScreen && gfxScreen->driver && gfxScreen->driver->setTitle)
    gfxScreen->driver->setTitle(windowTitle);
  return setRuntimeError(0);
}

}  // namespace krgfx
