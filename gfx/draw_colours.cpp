// The current colours and the text background mode, for programs.
#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/colour_format.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "runtime/runtime_state.h"

namespace krgfx {

namespace {

// A colour of the screen's form as setColours takes it.
uint32_t programColour(uint32_t pixel) { return gfxScreen->depth == 16 ? from565(pixel) : pixel; }

}  // namespace

int32_t setColours(uint32_t foreground, uint32_t background, int32_t flags) {
  auto hook = activeHook<&ConsoleHooks::setColours>();
  if (!gfxScreen || !hook) {
    setRuntimeError(errBadCall);
    return 0;
  }
  setRuntimeError(0);
  return hook(foreground, background, flags & (keepForeColour | keepBackColour));
}

uint32_t foreColour() { return gfxScreen ? programColour(currentContext().foreColor) : 0; }

uint32_t backColour() { return gfxScreen ? programColour(currentContext().backColor) : 0; }

int32_t setTextBackground(int32_t mode) {
  if (!gfxScreen || (mode != textOpaque && mode != textSeeThrough)) {
    setRuntimeError(errBadCall);
    return -1;
  }
  DrawContext& context = currentContext();
  int32_t previous = context.textSeeThrough ? textSeeThrough : textOpaque;
  context.textSeeThrough = mode == textSeeThrough;
  setRuntimeError(0);
  return previous;
}

}  // namespace krgfx
