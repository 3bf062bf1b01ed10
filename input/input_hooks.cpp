// The graphics screen's key, mouse and sleep slots of the console hooks.
#include "gfx/screen_hooks.h"

void installInputHooks(ConsoleHooks& /*hooks*/) {}
