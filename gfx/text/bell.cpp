// The platform bell and the bell of BEL.
#include "gfx/text/bell.h"

namespace krgfx {

std::atomic<BellRoutine> platformBell{terminalBell};

void ringBell() {
  if (BellRoutine bell = platformBell.load()) bell(1000, 250);
}

}  // namespace krgfx
