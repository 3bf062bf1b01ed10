#include "input/system_clock.h"

SystemClock systemClock = realSystemClock;

std::atomic<int32_t> timerMode{timerUnchosen};
double counterPeriod;
