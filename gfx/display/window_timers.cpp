#include "gfx/display/window_timers.h"

namespace krgfx {

void WindowTimers::start(int32_t id, int32_t intervalMs) {
  if (intervalMs <= 0) return;
  timers_[id] = {intervalMs, Clock::now() + std::chrono::milliseconds(intervalMs)};
}

void WindowTimers::addDue(std::vector<WindowMessage>& messages) {
  Clock::time_point now = Clock::now();
  for (auto& [id, timer] : timers_) {
    if (now < timer.due) continue;
    timer.due = now + std::chrono::milliseconds(timer.intervalMs);
    WindowMessage tick = windowMessage(MessageKind::timer);
    tick.timerId = id;
    messages.push_back(tick);
  }
}

}  // namespace krgfx
