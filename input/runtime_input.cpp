// The runtime's key, mouse and pause operations: the graphics screen's
// routines while one is open, the text console's otherwise.
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "input/system_clock.h"
#include "runtime/runtime_state.h"

namespace krgfx {

std::string pollKey() {
  auto routine = activeHook<&ConsoleHooks::pollKey>();
  return routine ? routine() : std::string();
}

int32_t waitKey() {
  auto routine = activeHook<&ConsoleHooks::waitKey>();
  return routine ? routine() : 0;
}

int32_t keyPending() {
  auto routine = activeHook<&ConsoleHooks::keyPending>();
  return routine ? routine() : 0;
}

int32_t keyIsDown(int32_t scanCode) {
  auto routine = activeHook<&ConsoleHooks::keyIsDown>();
  return routine ? routine(scanCode) : 0;
}

int32_t readMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  auto routine = activeHook<&ConsoleHooks::readMouse>();
  if (routine) return routine(x, y, wheel, buttons, clip);
  // A console without a mouse: no report.
  for (int32_t* output : {x, y, wheel, buttons, clip})
    if (output) *output = -1;
  return setRuntimeError(errBadCall);
}

int32_t placeMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
  if (!runtimeState.hooks.placeMouse) return setRuntimeError(errBadCall);
  return runtimeState.hooks.placeMouse(x, y, cursor, clip);
}

int32_t sleepMs(int32_t ms, int32_t flag) {
  if (flag == 1) {
    // Negative counts would be an endless or absurdly long pause: none.
    if (ms > 0) systemClock.pause(ms);
  } else if (flag == 0) {
    sleepMs(ms);
  } else {
    return setRuntimeError(errBadCall);
  }
  return setRuntimeError(0);
}

void sleepMs(int32_t ms) {
  auto routine = activeHook<&ConsoleHooks::sleepMs>();
  if (routine) {
    routine(ms);
  } else if (ms > 0) {
    systemClock.pause(ms);  // no console to watch for keys
  }
}

}  // namespace krgfx
