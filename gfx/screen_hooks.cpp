#include "gfx/screen_hooks.h"

namespace {
void viewChanged() {}
int32_t outputRedirected() { return 0; }
}  // namespace

void installScreenHooks(ConsoleHooks& hooks) {
  hooks = ConsoleHooks{};
  hooks.viewChanged = viewChanged;
  hooks.outputRedirected = outputRedirected;
  installTextHooks(hooks);
  installInputHooks(hooks);
}
