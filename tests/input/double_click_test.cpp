#include "input/double_click.h"

#include <gtest/gtest.h>

namespace krgfx {

TEST(DoubleClick, ASecondPressNearAndSoon) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.press(1, 1000, 10, 10));
  EXPECT_TRUE(clicks.press(1, 1500, 14, 6));
  // The third press starts over, the fourth completes the next pair.
  EXPECT_FALSE(clicks.press(1, 1600, 14, 6));
  EXPECT_TRUE(clicks.press(1, 1700, 14, 6));
}

TEST(DoubleClick, TooLateTooFarOrAnotherButton) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.press(1, 1000, 10, 10));
  EXPECT_FALSE(clicks.press(1, 1501, 10, 10));  // too late, but starts a new pair
  EXPECT_FALSE(clicks.press(1, 1600, 15, 10));  // too far
  EXPECT_FALSE(clicks.press(2, 1700, 15, 10));  // another button
  EXPECT_TRUE(clicks.press(2, 1800, 15, 14));
}

TEST(DoubleClick, ServerTimeWrapsAround) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.press(4, 0xFFFFFF00u, 0, 0));
  EXPECT_TRUE(clicks.press(4, 0x40, 0, 0));
  EXPECT_FALSE(clicks.press(4, 0x10, 0, 0));  // time going back is no double-click
}

TEST(DoubleClick, ResetForgetsThePress) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.press(1, 100, 0, 0));
  clicks.reset();
  EXPECT_FALSE(clicks.press(1, 200, 0, 0));
  EXPECT_FALSE(clicks.press(1, 300, INT32_MIN, INT32_MAX));
}

}  // namespace krgfx
