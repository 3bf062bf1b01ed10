#include <gtest/gtest.h>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "fake_clock.h"
#include "input/key_buffer.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

class SleepTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    keyBuffer = KeyBuffer{};
  }
  std::vector<int32_t> pausesOf(int32_t ms) {
    clock.pauses.clear();
    sleepMs(ms);
    return clock.pauses;
  }
  FakeClock clock;
};

using Pauses = std::vector<int32_t>;

}  // namespace

TEST_F(SleepTest, LongPausesAreWatchedIn50MsSlices) {
  openRecordedScreen();
  EXPECT_EQ(pausesOf(120), (Pauses{50, 50, 20}));
  EXPECT_EQ(pausesOf(100), (Pauses{50, 50}));
  EXPECT_EQ(pausesOf(101), (Pauses{50, 50, 1}));
  EXPECT_EQ(pausesOf(150), (Pauses{50, 50, 50}));
}

TEST_F(SleepTest, AKeyEndsThePauseAtTheNextTestAndStays) {
  openRecordedScreen();
  clock.postKeyAt(20, 'k');
  EXPECT_EQ(pausesOf(120), (Pauses{50}));
  EXPECT_EQ(keyBuffer.keyPosted, 0);
  EXPECT_EQ(pollKey(), "k");
}

TEST_F(SleepTest, TheRemainderIsNotWatched) {
  openRecordedScreen();
  clock.postKeyAt(120, 'k');
  EXPECT_EQ(pausesOf(140), (Pauses{50, 50, 40}));
  EXPECT_EQ(keyBuffer.keyPosted, 1);
}

TEST_F(SleepTest, AKeyPostedBeforeThePauseEndsItAtOnce) {
  openRecordedScreen();
  queueKey('k');
  EXPECT_EQ(pausesOf(500), Pauses{});
  EXPECT_EQ(pollKey(), "k");
}

TEST_F(SleepTest, ShortPausesAreOneSleepWhateverKeysArrive) {
  openRecordedScreen();
  queueKey('k');
  clock.postKeyAt(10, 'l');
  EXPECT_EQ(pausesOf(99), Pauses{99});
  EXPECT_EQ(pausesOf(1), Pauses{1});
  EXPECT_EQ(pausesOf(0), Pauses{});
  EXPECT_EQ(pausesOf(-5), Pauses{});
  EXPECT_EQ(keyBuffer.keyPosted, 1);
}

TEST_F(SleepTest, UntilKeyEndsAtTheNextKeyAndLeavesIt) {
  openRecordedScreen();
  queueKey('a');
  EXPECT_EQ(pollKey(), "a");  // taking the last key clears the posted flag
  clock.postKeyAt(170, windowCloseKey);
  EXPECT_EQ(pausesOf(-1), (Pauses{50, 50, 50, 50}));
  EXPECT_EQ(pollKey(), std::string("\xFFk"));
}

TEST_F(SleepTest, FlagOneIsAPlainPause) {
  openRecordedScreen();
  queueKey('k');
  clock.pauses.clear();
  EXPECT_EQ(sleepMs(50, 1), 0);
  EXPECT_EQ(clock.pauses, Pauses{50});
  EXPECT_EQ(keyBuffer.keyPosted, 1);
  EXPECT_EQ(sleepMs(-1, 1), 0);  // never an endless pause
  EXPECT_EQ(clock.pauses, Pauses{50});
}

TEST_F(SleepTest, FlagZeroIsTheWatchedPause) {
  openRecordedScreen();
  setRuntimeError(errNoFile);
  EXPECT_EQ(sleepMs(120, 0), 0);
  EXPECT_EQ(clock.pauses, (Pauses{50, 50, 20}));
  EXPECT_EQ(runtimeError(), 0);
}

TEST_F(SleepTest, OtherFlagsAreRefusedWithoutPause) {
  openRecordedScreen();
  EXPECT_EQ(sleepMs(10, 2), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(sleepMs(10, -1), errBadCall);
  EXPECT_TRUE(clock.pauses.empty());
}

TEST_F(SleepTest, WithoutAScreenAPauseStillPauses) {
  EXPECT_EQ(pausesOf(30), Pauses{30});
  EXPECT_EQ(pausesOf(-1), Pauses{});
}

TEST(ClockSeconds, CountsThePerformanceCounter) {
  FakeClock clock;
  clock.counterFrequency = 4;
  clock.counterValue = 10;
  EXPECT_DOUBLE_EQ(clockSeconds(), 2.5);
  clock.counterValue = 14;
  EXPECT_DOUBLE_EQ(clockSeconds(), 3.5);
  EXPECT_EQ(timerMode, timerCounter);
  clock.hasCounter = false;  // the choice holds for the process
  EXPECT_DOUBLE_EQ(clockSeconds(), 3.5);
}

TEST(ClockSeconds, FallsBackToTheTickCount) {
  FakeClock clock;
  clock.hasCounter = false;
  clock.ticks = 1500;
  EXPECT_DOUBLE_EQ(clockSeconds(), 1.5);
  EXPECT_EQ(timerMode, timerTickCount);
  clock.ticks = 0xFFFFFFFF;
  EXPECT_DOUBLE_EQ(clockSeconds(), 4294967.295);
  clock.ticks = 5;  // wrapped
  EXPECT_DOUBLE_EQ(clockSeconds(), 0.005);
}

TEST(ClockSeconds, ACounterWithoutFrequencyIsNoCounter) {
  FakeClock clock;
  clock.counterFrequency = 0;
  clock.ticks = 2000;
  EXPECT_DOUBLE_EQ(clockSeconds(), 2.0);
}

TEST(ClockSeconds, TheRealClockAdvances) {
  timerMode = timerUnchosen;
  double start = clockSeconds();
  systemClock.pause(20);
  double elapsed = clockSeconds() - start;
  EXPECT_GE(elapsed, 0.019);
  EXPECT_LT(elapsed, 5.0);
}

}  // namespace krgfx
