#include "gfx/screen_hooks.h"

namespace krgfx {

namespace {
void viewChanged() {}
int32_t outputRedirected() { return 0; }
// No I/O ports are emulated on the graphics screen: reads give 0, writes
// go nowhere.
int32_t portIn(int32_t) { return 0; }
void portOut(int32_t, int32_t) {}
}  // namespace

void installScreenHooks(ConsoleHooks& hooks) {
  hooks = ConsoleHooks{};
  hooks.viewChanged = viewChanged;
  hooks.outputRedirected = outputRedirected;
  hooks.portIn = portIn;
  hooks.portOut = portOut;
  installTextHooks(hooks);
  installInputHooks(hooks);
}

}  // namespace krgfx
