// Timers for a window system that has none of its own: each one ticks as a
// timer message at the first dispatch after its interval has passed.
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

  // Starts (or restarts) timer `id`; an interval of 0 or less starts none.
  void start(int32_t id, int32_t intervalMs);
  void stop(int32_t id) { timers_.erase(id); }
  void clear() { timers_.clear(); }
  bool empty() const { return timers_.empty(); }
  // Adds a timer message for each timer that is due and sets its next time.
  void addDue(std::vector<WindowMessage>& messages);

 private:
  struct Timer {
    int32_t intervalMs;
    Clock::time_point due;
  };
  std::map<int32_t, Timer> timers_;
};

}  // namespace krgfx
