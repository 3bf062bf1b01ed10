#include "input/key_buffer.h"

#include <gtest/gtest.h>

#include <krgfx/input.h>
#include "support/screen_fixture.h"

namespace krgfx {

using KeyBufferTest = ScreenTest;

TEST_F(KeyBufferTest, SixteenKeysLoseTheFirst) {
  openRecordedScreen();
  for (int32_t code = 1; code <= 16; ++code) queueKey(code);
  for (int32_t code = 2; code <= 16; ++code) EXPECT_EQ(takeKey(), code);
  EXPECT_EQ(takeKey(), 0);
}

TEST_F(KeyBufferTest, TakingKeysClearsThePostedFlag) {
  openRecordedScreen();
  EXPECT_EQ(takeKey(), 0);
  queueKey(windowCloseKey);
  EXPECT_EQ(keyBuffer.keyPosted, 1);
  EXPECT_EQ(takeKeyPosted(), 1);
  EXPECT_EQ(takeKeyPosted(), 0);
  queueKey('a');
  EXPECT_EQ(takeKey(), windowCloseKey);  // the key stays until taken
  EXPECT_EQ(keyBuffer.keyPosted, 0);
  EXPECT_EQ(takeKey(), 'a');
  // Each take runs under the screen lock, nested inside its own.
  auto locks = testing_drivers::callsStartingWith("GDI.lock");
  EXPECT_EQ(locks.size(), testing_drivers::callsStartingWith("GDI.unlock").size());
  EXPECT_EQ(gfxScreen->lockCount, 0);
}

}  // namespace krgfx
