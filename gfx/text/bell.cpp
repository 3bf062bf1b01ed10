// The platform bell and its terminal default.
#include "gfx/text/bell.h"

#include <unistd.h>

std::atomic<BellRoutine> platformBell{terminalBell};

void terminalBell(int32_t /*frequency*/, int32_t /*durationMs*/) {
  // A bell byte in redirected output would corrupt it: ring only a terminal.
  for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    if (!::isatty(fd)) continue;
    [[maybe_unused]] ssize_t written = ::write(fd, "\a", 1);
    return;
  }
}

void ringBell() {
  if (BellRoutine bell = platformBell.load()) bell(1000, 250);
}
