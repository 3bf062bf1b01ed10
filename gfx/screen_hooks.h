// Filling the console hooks when a graphics screen opens. Each subsystem
// fills the slots whose behaviour it owns.
#pragma once

#include "runtime/runtime_state.h"

namespace krgfx {

void installScreenHooks(ConsoleHooks& hooks);

void installTextHooks(ConsoleHooks& hooks);   // gfx/text: text output and line input
void installInputHooks(ConsoleHooks& hooks);  // input: keys, mouse, sleep

}  // namespace krgfx
