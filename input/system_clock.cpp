#include "input/system_clock.h"

namespace krgfx {

SystemClock systemClock = realSystemClock;

std::atomic<int32_t> timerMode{timerUnchosen};
double counterPeriod;

}  // namespace krgfx
