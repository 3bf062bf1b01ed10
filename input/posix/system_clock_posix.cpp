// The real clock on POSIX systems: a thread sleep and the monotonic clock.
#include "input/system_clock.h"

#include <chrono>
#include <thread>

namespace krgfx {

namespace {

void threadPause(int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool monotonicFrequency(int64_t* perSecond) {
  *perSecond = std::chrono::steady_clock::period::den / std::chrono::steady_clock::period::num;
  return true;
}

int64_t monotonicCounter() { return std::chrono::steady_clock::now().time_since_epoch().count(); }

uint32_t monotonicTickCount() {
  auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace

const SystemClock realSystemClock = {
    .pause = threadPause,
    .counterFrequency = monotonicFrequency,
    .counter = monotonicCounter,
    .tickCount = monotonicTickCount,
};

}  // namespace krgfx
