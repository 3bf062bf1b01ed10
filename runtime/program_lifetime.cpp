// Start and end of every program linked with the runtime.
#include <cfenv>
#include <clocale>
#include <cstdlib>

#include <krgfx/runtime.h>
#include "runtime/runtime_contexts.h"
#include "runtime/runtime_state.h"
#include "runtime/text_console_lifetime.h"

namespace krgfx {

void runtimeStartup() {
  if (++startupCount != 1) return;
  runtimeState = RuntimeState{};
  // Real-looking numbers are rounded by the current mode: nearest, ties to even.
  std::fesetround(FE_TONEAREST);
  resetTextConsole();
  std::setlocale(LC_CTYPE, "");
}

void runtimeInit(int32_t argc, char** argv, int32_t option) {
  runtimeState.argc = argc;
  runtimeState.argv = argv;
  runtimeState.option = option;
}

namespace {
// A program that returns from main or calls exit() while its screen is open
// ends here: the hook closes the screen, and with it the presenter thread,
// before the static objects are destroyed and the open files are closed.
void runEndHookAtExit() {
  if (runtimeState.endHook) runtimeState.endHook();
}
}  // namespace

void registerEndHook(void (*hook)()) {
  // Registered from the program, after every static object is built, so it
  // runs before any of them is destroyed.
  static bool atExitRegistered = false;
  if (!atExitRegistered) atExitRegistered = std::atexit(runEndHookAtExit) == 0;
  runtimeState.endHook = hook;
}

void runtimeEnd(int32_t exitCode) {
  if (runtimeState.endHook) runtimeState.endHook();
  std::exit(exitCode);
}

void runtimeShutdown() {
  if (--startupCount != 0) return;
  closeAllFiles();
  releaseTextConsole();
  releaseRuntimeContexts();
}

namespace {
// Runs the start-up before main and the shutdown during the exit. Constructed
// first, so it is destroyed after every other static object of the program.
struct ProgramLifetime {
  ProgramLifetime() { runtimeStartup(); }
  ~ProgramLifetime() { runtimeShutdown(); }
};
ProgramLifetime programLifetime __attribute__((init_priority(101)));
}  // namespace

// The link asks for this symbol (see CMakeLists.txt), so this object file, and
// with it the start-up above, is part of every program, even from a static
// library.
extern "C" {
extern const int krgfxRuntimeAnchor;
const int krgfxRuntimeAnchor = 1;
}

}  // namespace krgfx
