// What a window system without timers or a vertical blank of its own keeps
// for them: the started timers, ticked from dispatchMessages, and a wait for
// the next frame boundary of the refresh rate.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <vector>

#include "gfx/display/window_system.h"

namespace krgfx {

class WindowTimers {
 public:
  using Clock = std::chrono::steady_clock;

  void start(int32_t id, int32_t intervalMs);
  void stop(int32_t id) { timers_.erase(id); }
  void clear() { timers_.clear(); }
  bool empty() const { return timers_.empty(); }
  // Appends one timer message for each timer due now and starts its next interval.
  void appendDue(std::vector<WindowMessage>& messages);

 private:
  struct Timer {
    int32_t intervalMs;
    Clock::time_point due;
  };
  std::map<int32_t, Timer> timers_;
};

// Sleeps until the next frame boundary of `rate` Hz (60 when 0) counted from
// `epoch`, at most timeoutMs.
void sleepUntilNextFrame(std::chrono::steady_clock::time_point epoch, int32_t rate,
                         int32_t timeoutMs);

}  // namespace krgfx
