// The pointer while a graphics screen is open: the display driver answers
// under the screen lock; without a report every output is -1.
#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/display/input_access.h"
#include "input/input_hooks.h"

namespace krgfx {

namespace {

int32_t noMouseReport(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  for (int32_t* output : {x, y, wheel, buttons, clip})
    if (output) *output = -1;
  return setRuntimeError(errBadCall);
}

}  // namespace

int32_t screenReadMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  if (!x || !y) return noMouseReport(x, y, wheel, buttons, clip);
  int32_t scratch[3];
  if (!wheel) wheel = &scratch[0];
  if (!buttons) buttons = &scratch[1];
  if (!clip) clip = &scratch[2];
  if (DriverReadMouse driverReadMouse = screenDriverReadMouse()) {
    lockScreen();
    int32_t result = driverReadMouse(x, y, wheel, buttons, clip);
    unlockScreen(1, 0);
    if (result == 0) return setRuntimeError(0);
  }
  return noMouseReport(x, y, wheel, buttons, clip);
}

int32_t screenPlaceMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
  DriverPlaceMouse driverPlaceMouse = screenDriverPlaceMouse();
  if (!driverPlaceMouse) return setRuntimeError(errBadCall);
  lockScreen();
  driverPlaceMouse(x, y, cursor, clip);
  unlockScreen(1, 0);
  return setRuntimeError(0);
}

}  // namespace krgfx
