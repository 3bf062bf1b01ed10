// A window lost for good (gone from outside, or unable to show the screen)
// keeps its close request pending, so a program waiting for a key ends; a
// window that stays up, and every new screen, wait for keys as before.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <krgfx/input.h>
#include "input/fake_clock.h"
#include "input/key_buffer.h"
#include "support/window_layer_fixture.h"

namespace krgfx {

namespace {

using Pauses = std::vector<int32_t>;

enum class Loss { destroyed, presentationFailed };

struct LostWindowCase {
  const char* driver;
  Loss loss;
};

void PrintTo(const LostWindowCase& lost, std::ostream* out) {
  *out << lost.driver << (lost.loss == Loss::destroyed ? ", destroyed" : ", presentation failed");
}

const std::string closeKeyText = "\xFFk";

class LostWindow : public WindowLayerTest, public ::testing::WithParamInterface<LostWindowCase> {
 protected:
  void SetUp() override {
    WindowLayerTest::SetUp();
    keyBuffer = KeyBuffer{};
  }

  void openAndDrain() {
    openOn(GetParam().driver);
    while (takeKey() != 0) {
    }
  }
  // Loses the window the way the case says and waits for the presenter to end.
  void loseWindow() {
    int before = threadCount() - 1;
    if (GetParam().loss == Loss::destroyed) {
      system.inject(scriptedMessage(MessageKind::destroyed));
    } else {
      system.failPresentations(true);
      lockScreen();
      paintRow(5, 0xFFFFFFFF);
      unlockScreen(5, 5);
    }
    for (int i = 0; i < 1000 && threadCount() != before; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(threadCount(), before) << "the presenter did not stop";
    system.failPresentations(false);  // a later window shows again
  }
  // The pauses one sleepMs(ms) takes on the fake clock.
  Pauses pausesOf(FakeClock& clock, int32_t ms) {
    clock.pauses.clear();
    sleepMs(ms);
    return clock.pauses;
  }
};

}  // namespace

TEST_P(LostWindow, EveryWaitForAKeyEndsAndTheCloseKeyComesAgain) {
  openAndDrain();
  loseWindow();
  FakeClock clock;
  // The close key the loss queued, then the pending request, again and again.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pollKey(), closeKeyText) << "poll " << i;
  EXPECT_EQ(keyPending(), 1);
  EXPECT_EQ(pausesOf(clock, -1), Pauses{});
  EXPECT_EQ(pausesOf(clock, 500), Pauses{});
  EXPECT_EQ(waitKey(), windowCloseKey);
  EXPECT_EQ(pausesOf(clock, -1), Pauses{});
  // Short pauses are never watched for keys and stay as they are.
  EXPECT_EQ(pausesOf(clock, 60), Pauses{60});
  // Keys still in the buffer come first.
  lockScreen();
  queueKey('x');
  unlockScreen(1, 0);
  EXPECT_EQ(pollKey(), "x");
  EXPECT_EQ(pollKey(), closeKeyText);
}

TEST_P(LostWindow, ANewScreenStartsAfresh) {
  openAndDrain();
  loseWindow();
  closeScreen();
  openAndDrain();
  FakeClock clock;
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(keyPending(), 0);
  EXPECT_EQ(pausesOf(clock, 120), (Pauses{50, 50, 20}));
  closeScreen();

  // Nor does a screen without a window inherit the request.
  openAndDrain();
  loseWindow();
  setTestEnvironment("KRGFX", "null");
  ASSERT_EQ(openScreen(320, 200, 32, 1, 0, 0), 0);
  // The key buffer outlives modes: the key the loss queued, once.
  EXPECT_EQ(pollKey(), closeKeyText);
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(keyPending(), 0);
  EXPECT_EQ(pausesOf(clock, 120), (Pauses{50, 50, 20}));
}

INSTANTIATE_TEST_SUITE_P(BothWindowDrivers, LostWindow,
                         ::testing::Values(LostWindowCase{"DirectX", Loss::destroyed},
                                           LostWindowCase{"GDI", Loss::destroyed},
                                           LostWindowCase{"DirectX", Loss::presentationFailed},
                                           LostWindowCase{"GDI", Loss::presentationFailed}),
                         [](const auto& info) {
                           return std::string(info.param.driver) +
                                  (info.param.loss == Loss::destroyed ? "Destroyed"
                                                                      : "PresentationFailed");
                         });

// A close request from the user is one key: the window stays and the program
// decides, so later waits wait again.
TEST_F(WindowLayerTest, AUserCloseRequestIsOneKeyWhileTheWindowStays) {
  keyBuffer = KeyBuffer{};
  openOn("GDI");
  while (takeKey() != 0) {
  }
  deliver(scriptedMessage(MessageKind::close));
  FakeClock clock;
  EXPECT_EQ(keyPending(), 1);
  EXPECT_EQ(pollKey(), closeKeyText);
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(keyPending(), 0);
  clock.pauses.clear();
  sleepMs(120);
  EXPECT_EQ(clock.pauses, (Pauses{50, 50, 20}));
}

}  // namespace krgfx
