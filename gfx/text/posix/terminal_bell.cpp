// The bell without a window on POSIX systems: "\a" to the terminal.
#include <unistd.h>

#include <initializer_list>

#include "gfx/text/bell.h"

namespace krgfx {

void terminalBell(int32_t /*frequency*/, int32_t /*durationMs*/) {
  // A bell byte in redirected output would corrupt it: ring only a terminal.
  for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    if (!::isatty(fd)) continue;
    [[maybe_unused]] ssize_t written = ::write(fd, "\a", 1);
    return;
  }
}

}  // namespace krgfx
