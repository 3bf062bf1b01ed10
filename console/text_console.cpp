// The text console's routines, used while no graphics screen is open.
#include <unistd.h>

#include "console/console.h"

namespace {
void writeToTerminal(const uint8_t* bytes, int32_t length, int32_t /*mask*/) {
  while (length > 0) {
    ssize_t written = ::write(STDOUT_FILENO, bytes, static_cast<size_t>(length));
    if (written <= 0) return;
    bytes += written;
    length -= static_cast<int32_t>(written);
  }
}
}  // namespace

ConsoleHooks textConsoleHooks = [] {
  ConsoleHooks hooks{};
  hooks.outputBytes = writeToTerminal;
  return hooks;
}();

void resetTextConsole() {}

void releaseTextConsole() {}
