#include <gtest/gtest.h>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "input/system_clock.h"

namespace krgfx {

namespace {

// A clock whose counter (milliseconds) moves only by pauses and by the
// program's own work.
struct PaceClock {
  static inline int64_t now = 0;
  static inline std::vector<int32_t> pauses;
  static void pause(int32_t ms) {
    pauses.push_back(ms);
    now += ms;
  }
  static bool frequency(int64_t* perSecond) {
    *perSecond = 1000;
    return true;
  }
  static int64_t counter() { return now; }
  static uint32_t ticks() { return static_cast<uint32_t>(now); }
};

class FramePaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = systemClock;
    systemClock = {PaceClock::pause, PaceClock::frequency, PaceClock::counter, PaceClock::ticks};
    timerMode = timerUnchosen;
    PaceClock::now = 1000;
    PaceClock::pauses.clear();
  }
  void TearDown() override {
    systemClock = saved_;
    timerMode = timerUnchosen;
  }
  static void work(int64_t ms) { PaceClock::now += ms; }

 private:
  SystemClock saved_;
};

}  // namespace

TEST_F(FramePaceTest, TheFramesOwnTimeIsTakenOffTheWait) {
  EXPECT_EQ(waitFrame(50), 0);  // the first frame: one period from now
  EXPECT_EQ(PaceClock::now, 1020);
  work(7);
  waitFrame(50);
  work(19);
  waitFrame(50);
  work(0);
  waitFrame(50);
  EXPECT_EQ(PaceClock::pauses, (std::vector<int32_t>{20, 13, 1, 20}));
  EXPECT_EQ(PaceClock::now, 1080);  // four frames, four periods
}

TEST_F(FramePaceTest, ALateFrameShortensTheNextOrStartsAfresh) {
  waitFrame(40);  // 25 ms frames: due at 1025
  work(30);       // 5 ms late for 1050: no wait, and the next is due at 1075 again
  waitFrame(40);
  EXPECT_EQ(PaceClock::now, 1055);
  waitFrame(40);
  EXPECT_EQ(PaceClock::now, 1075);
  EXPECT_EQ(PaceClock::pauses, (std::vector<int32_t>{25, 20}));
  work(80);  // more than a whole frame late: no rush of frames after it
  waitFrame(40);
  EXPECT_EQ(PaceClock::pauses.back(), 25);
  EXPECT_EQ(PaceClock::now, 1180);
  // A new rate starts afresh too.
  waitFrame(100);
  EXPECT_EQ(PaceClock::pauses.back(), 10);
}

TEST_F(FramePaceTest, RatesOutOfRangeFail) {
  EXPECT_EQ(waitFrame(0), errBadCall);
  EXPECT_EQ(waitFrame(1001), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_TRUE(PaceClock::pauses.empty());
}

}  // namespace krgfx
