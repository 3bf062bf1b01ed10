// The click ring and pollMouseClick.
#include "input/mouse_clicks.h"

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "gfx/screen.h"
#include "input/window_input.h"

namespace krgfx {

void recordMouseClick(MouseClickRing& ring, const MouseClick& click) {
  ring.clicks[ring.writeIndex] = click;
  int32_t next = (ring.writeIndex + 1) % mouseClickRingSize;
  if (next == ring.readIndex) ring.readIndex = (ring.readIndex + 1) % mouseClickRingSize;
  ring.writeIndex = next;
}

bool takeMouseClick(MouseClickRing& ring, MouseClick* click) {
  if (ring.readIndex == ring.writeIndex) return false;
  *click = ring.clicks[ring.readIndex];
  ring.readIndex = (ring.readIndex + 1) % mouseClickRingSize;
  return true;
}

void clearMouseClicks(MouseClickRing& ring) { ring.readIndex = ring.writeIndex = 0; }

int32_t pollMouseClick(int32_t* x, int32_t* y, int32_t* button) {
  if (!gfxScreen) {
    setRuntimeError(errBadCall);
    return 0;
  }
  MouseClick click{};
  lockScreen();
  bool taken = takeMouseClick(mouseState.clicks, &click);
  unlockScreen(1, 0);
  setRuntimeError(0);
  if (!taken) return 0;
  if (x) *x = click.x;
  if (y) *y = click.y;
  if (button) *button = click.button;
  return click.kind;
}

}  // namespace krgfx
