// A clock for tests of the timing code: pauses only move its time on, and
// keys can be set to arrive at given moments of that time.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "input/key_buffer.h"
#include "input/system_clock.h"

namespace krgfx {

class FakeClock {
 public:
  FakeClock() {
    saved_ = systemClock;
    instance() = this;
    systemClock = {
        .pause = pause, .counterFrequency = frequency, .counter = counter, .tickCount = tickCount};
    timerMode = timerUnchosen;
  }
  ~FakeClock() {
    systemClock = saved_;
    instance() = nullptr;
    timerMode = timerUnchosen;
  }

  int64_t nowMs = 0;
  std::vector<int32_t> pauses;
  // Keys that the window posts at a moment of the clock's time.
  void postKeyAt(int64_t ms, int32_t code) { arrivals_.push_back({ms, code}); }
  // Something else that happens at a moment, e.g. the screen closing.
  void runAt(int64_t ms, void (*action)()) { actions_.push_back({ms, action}); }

  // The counter and tick count that the clock answers with.
  bool hasCounter = true;
  int64_t counterFrequency = 1000;
  int64_t counterValue = 0;
  uint32_t ticks = 0;

 private:
  static FakeClock*& instance() {
    static FakeClock* current;
    return current;
  }
  static void pause(int32_t ms) {
    FakeClock& clock = *instance();
    clock.pauses.push_back(ms);
    int64_t from = clock.nowMs;
    clock.nowMs += ms;
    for (auto [at, code] : clock.arrivals_)
      if (at > from && at <= clock.nowMs) queueKey(code);
    for (auto [at, action] : clock.actions_)
      if (at > from && at <= clock.nowMs) action();
  }
  static bool frequency(int64_t* perSecond) {
    *perSecond = instance()->counterFrequency;
    return instance()->hasCounter;
  }
  static int64_t counter() { return instance()->counterValue; }
  static uint32_t tickCount() { return instance()->ticks; }

  SystemClock saved_;
  std::vector<std::pair<int64_t, int32_t>> arrivals_;
  std::vector<std::pair<int64_t, void (*)()>> actions_;
};

}  // namespace krgfx
