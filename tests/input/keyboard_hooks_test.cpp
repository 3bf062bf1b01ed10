#include <gtest/gtest.h>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "fake_clock.h"
#include "gfx/screen.h"
#include "input/key_buffer.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

class KeyboardTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    keyBuffer = KeyBuffer{};
  }
  FakeClock clock;
};

std::string bytes(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += static_cast<char>(value);
  return text;
}

}  // namespace

TEST_F(KeyboardTest, PollKeyGivesCharactersAndExtendedKeysAsBytes) {
  openRecordedScreen();
  queueKey('a');
  queueKey(0x82);
  queueKey((';' << 8) | 0xFF);
  queueKey(windowCloseKey);
  EXPECT_EQ(pollKey(), "a");
  EXPECT_EQ(pollKey(), bytes({0x82}));
  EXPECT_EQ(pollKey(), bytes({0xFF, ';'}));
  EXPECT_EQ(pollKey(), bytes({0xFF, 'k'}));
  EXPECT_EQ(pollKey(), "");
}

TEST_F(KeyboardTest, SixteenKeysPostedLoseTheFirst) {
  openRecordedScreen();
  for (int32_t key = 'a'; key < 'a' + 16; ++key) queueKey(key);
  for (int32_t key = 'b'; key < 'a' + 16; ++key) EXPECT_EQ(pollKey(), std::string(1, char(key)));
  EXPECT_EQ(pollKey(), "");
}

TEST_F(KeyboardTest, APostedZeroReadsAsNoKey) {
  openRecordedScreen();
  queueKey(0);
  queueKey('x');
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(pollKey(), "x");
}

TEST_F(KeyboardTest, KeyPendingDoesNotTakeTheKey) {
  openRecordedScreen();
  EXPECT_EQ(keyPending(), 0);
  queueKey('q');
  EXPECT_EQ(keyPending(), 1);
  EXPECT_EQ(keyPending(), 1);
  EXPECT_EQ(keyBuffer.keyPosted, 1);
  EXPECT_EQ(pollKey(), "q");
  EXPECT_EQ(keyPending(), 0);
  EXPECT_EQ(gfxScreen->lockCount, 0);
}

TEST_F(KeyboardTest, KeyIsDownReadsTheKeyState) {
  GfxScreen& screen = openRecordedScreen();
  screen.keyState[30] = 1;
  screen.keyState[127] = 1;
  EXPECT_EQ(keyIsDown(30), -1);
  EXPECT_EQ(keyIsDown(31), 0);
  EXPECT_EQ(keyIsDown(127), -1);
  EXPECT_EQ(keyIsDown(128), 0);
  EXPECT_EQ(keyIsDown(-1), 0);
  EXPECT_EQ(keyIsDown(INT32_MIN), 0);
  EXPECT_EQ(screen.lockCount, 0);
}

TEST_F(KeyboardTest, WithoutAScreenThereAreNoKeys) {
  queueKey('z');
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(waitKey(), 0);
  EXPECT_EQ(keyIsDown(30), 0);
  EXPECT_EQ(keyPending(), 0);
  EXPECT_TRUE(clock.pauses.empty());
  // The key is still there for the next screen: the buffer outlives modes.
  openRecordedScreen();
  EXPECT_EQ(pollKey(), "z");
}

TEST_F(KeyboardTest, WaitKeyPollsEvery20Ms) {
  openRecordedScreen();
  clock.postKeyAt(50, (72 << 8) | 0xFF);
  EXPECT_EQ(waitKey(), (72 << 8) | 0xFF);
  EXPECT_EQ(clock.pauses, (std::vector<int32_t>{20, 20, 20}));
  EXPECT_EQ(keyBuffer.keyPosted, 0);
}

TEST_F(KeyboardTest, WaitKeyReturnsAKeyAlreadyThere) {
  openRecordedScreen();
  queueKey('w');
  EXPECT_EQ(waitKey(), 'w');
  EXPECT_TRUE(clock.pauses.empty());
}

TEST_F(KeyboardTest, WaitKeyEndsWhenTheScreenCloses) {
  openRecordedScreen();
  clock.runAt(60, closeScreen);
  EXPECT_EQ(waitKey(), 0);
  EXPECT_EQ(clock.nowMs, 60);
}

}  // namespace krgfx
