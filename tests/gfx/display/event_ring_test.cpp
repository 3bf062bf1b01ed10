#include <gtest/gtest.h>

#include "gfx/display/window_layer.h"
#include "support/screen_fixture.h"

namespace krgfx {

using EventRing = ScreenTest;

TEST_F(EventRing, TwoHundredEventsLeaveTheLast127InOrder) {
  GfxScreen& screen = openNullScreen();
  for (int32_t i = 1; i <= 200; ++i) queueEvent({i, i * 2, 0, 0, -i});
  int32_t count = (screen.eventTail - screen.eventHead) & (eventRingSize - 1);
  EXPECT_EQ(count, 127);
  for (int32_t k = 0; k < count; ++k) {
    const ScreenEvent& event = screen.events[(screen.eventHead + k) & (eventRingSize - 1)];
    EXPECT_EQ(event.type, 74 + k);
    EXPECT_EQ(event.word1, 2 * (74 + k));
    EXPECT_EQ(event.word4, -(74 + k));
  }
}

}  // namespace krgfx
