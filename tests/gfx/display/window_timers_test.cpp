#include "gfx/display/window_timers.h"

#include <gtest/gtest.h>

#include <thread>

namespace krgfx {

namespace {

std::vector<WindowMessage> due(WindowTimers& timers) {
  std::vector<WindowMessage> messages;
  timers.appendDue(messages);
  return messages;
}

}  // namespace

TEST(WindowTimers, ADueTimerTicksOnceAndAStoppedOneNever) {
  WindowTimers timers;
  timers.start(7, 1);
  timers.start(8, 0);  // no interval: never started
  timers.start(9, 60 * 60 * 1000);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  auto ticks = due(timers);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].kind, MessageKind::timer);
  EXPECT_EQ(ticks[0].timerId, 7);
  EXPECT_EQ(ticks[0].repeatCount, 1);
  timers.stop(7);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(due(timers).empty());
  timers.start(7, 1);
  timers.clear();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(due(timers).empty());
}

}  // namespace krgfx
