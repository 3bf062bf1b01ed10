#include "gfx/display/window_timers.h"

#include <algorithm>
#include <thread>

namespace krgfx {

void WindowTimers::start(int32_t id, int32_t intervalMs) {
  if (intervalMs <= 0) return;
  timers_[id] = {intervalMs, Clock::now() + std::chrono::milliseconds(intervalMs)};
}

void WindowTimers::appendDue(std::vector<WindowMessage>& messages) {
  Clock::time_point now = Clock::now();
  for (auto& [id, timer] : timers_) {
    if (now < timer.due) continue;
    timer.due = now + std::chrono::milliseconds(timer.intervalMs);
    WindowMessage tick = windowMessage(MessageKind::timer);
    tick.timerId = id;
    messages.push_back(tick);
  }
}

void sleepUntilNextFrame(std::chrono::steady_clock::time_point epoch, int32_t rate,
                         int32_t timeoutMs) {
  using Clock = std::chrono::steady_clock;
  auto period = std::chrono::nanoseconds(1000000000 / (rate > 0 ? rate : 60));
  auto intoFrame = (Clock::now() - epoch) % period;
  auto wait = std::min<Clock::duration>(period - intoFrame, std::chrono::milliseconds(timeoutMs));
  std::this_thread::sleep_for(wait);
}

}  // namespace krgfx
