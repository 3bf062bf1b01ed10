// The seconds clock: the performance counter when there is one, else the
// tick count.
#include <krgfx/input.h>
#include "input/system_clock.h"

namespace krgfx {

namespace {

int32_t chooseTimer() {
  int64_t frequency = 0;
  if (!systemClock.counterFrequency(&frequency) || frequency <= 0) return timerTickCount;
  counterPeriod = 1.0 / static_cast<double>(frequency);
  return timerCounter;
}

}  // namespace

double clockSeconds() {
  int32_t mode = timerMode.load(std::memory_order_acquire);
  if (mode == timerUnchosen) {
    mode = chooseTimer();
    timerMode.store(mode, std::memory_order_release);
  }
  if (mode == timerTickCount) return systemClock.tickCount() * 0.001;
  return static_cast<double>(systemClock.counter()) * counterPeriod;
}

}  // namespace krgfx
