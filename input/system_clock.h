// The operating system's pause and clocks, reached through a table so that
// tests can run the timing code on a clock of their own.
#pragma once

#include <atomic>
#include <cstdint>

namespace krgfx {

struct SystemClock {
  void (*pause)(int32_t ms);                     // a plain pause, ms >= 0
  bool (*counterFrequency)(int64_t* perSecond);  // false when there is no counter
  int64_t (*counter)();                          // the performance counter
  uint32_t (*tickCount)();                       // milliseconds, wrapping after 2^32
};

// The real clock, the platform's: on POSIX a thread sleep, the monotonic
// clock in nanoseconds as the counter and its milliseconds as the tick
// count; on Win32 Sleep, QueryPerformanceCounter and GetTickCount.
extern const SystemClock realSystemClock;
// The clock in use; tests swap it.
extern SystemClock systemClock;

// The source of clockSeconds, chosen at its first call and kept for the
// process: timerUnchosen, then timerTickCount or timerCounter.
enum TimerMode : int32_t { timerUnchosen = 0, timerTickCount = 1, timerCounter = 2 };
extern std::atomic<int32_t> timerMode;
extern double counterPeriod;  // seconds per counter step

}  // namespace krgfx
