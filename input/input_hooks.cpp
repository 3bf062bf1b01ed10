// The graphics screen's key, mouse and sleep slots of the console hooks.
#include "input/input_hooks.h"

#include "gfx/screen_hooks.h"

namespace krgfx {

void installInputHooks(ConsoleHooks& hooks) {
  hooks.pollKey = screenPollKey;
  hooks.waitKey = screenWaitKey;
  hooks.keyPending = screenKeyPending;
  hooks.keyIsDown = screenKeyIsDown;
  hooks.readMouse = screenReadMouse;
  hooks.placeMouse = screenPlaceMouse;
  hooks.sleepMs = screenSleep;
}

}  // namespace krgfx
