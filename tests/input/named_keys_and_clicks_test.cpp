// Named key codes, pollKeyCode and the click ring, through the window's own
// key and pointer handling.
#include <gtest/gtest.h>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "input/key_codes.h"
#include "input/mouse_clicks.h"
#include "window_input_fixture.h"

namespace krgfx {

namespace {

class NamedKeysAndClicksTest : public WindowInputTest {
 protected:
  void click(MessageKind kind, int32_t bit, int32_t x, int32_t y) {
    pointAt(x, y);
    WindowMessage message = scriptedMessage(kind);
    message.button = bit;
    message.x = x, message.y = y;
    deliver(message);
  }
  struct Click {
    int32_t kind, x, y, button;
    bool operator==(const Click&) const = default;
  };
  static std::vector<Click> takeClicks() {
    std::vector<Click> clicks;
    Click c{};
    while ((c.kind = pollMouseClick(&c.x, &c.y, &c.button)) != 0) clicks.push_back(c);
    return clicks;
  }
};

}  // namespace

TEST_F(NamedKeysAndClicksTest, NamedCodesAreWhatTheKeysGive) {
  struct Key {
    int32_t virtualKey, scan;
    bool enhanced;
    int32_t expected;
  };
  for (Key k :
       {Key{112, 59, false, keyF1}, Key{121 - 1, 67, false, keyF9}, Key{122, 87, false, keyF11},
        Key{123, 88, false, keyF12}, Key{38, 72, true, keyUp}, Key{40, 80, true, keyDown},
        Key{37, 75, true, keyLeft}, Key{39, 77, true, keyRight}, Key{36, 71, true, keyHome},
        Key{35, 79, true, keyEnd}, Key{33, 73, true, keyPageUp}, Key{34, 81, true, keyPageDown},
        Key{45, 82, true, keyInsert}, Key{46, 83, true, keyDelete}}) {
    press(k.virtualKey, k.scan, 0, 0, k.enhanced);
    EXPECT_EQ(pollKeyCode(), k.expected) << k.virtualKey;
  }
  hold({virtualKeyShift, virtualKeyLeftShift});
  press(112, 59);
  EXPECT_EQ(pollKeyCode(), keyF1 + (25 << 8));
  press(9, 15, 9, 9);  // Shift+Tab types a tab
  EXPECT_EQ(pollKeyCode(), keyShiftTab);
  hold({});
  // Characters arrive as their byte; waitKey gives the same codes.
  type(keyEscape);
  type(keyEnter);
  type(0x82);  // e acute in code page 437
  EXPECT_EQ(pollKeyCode(), keyEscape);
  EXPECT_EQ(waitKey(), keyEnter);
  EXPECT_EQ(pollKeyCode(), 0x82);
  EXPECT_EQ(pollKeyCode(), 0);
  queueKey(windowCloseKey);
  EXPECT_EQ(pollKeyCode(), windowCloseKey);
}

TEST_F(NamedKeysAndClicksTest, ShortClicksBetweenPollsAreAllKept) {
  // Eight clicks between two polls: every press and release, in order.
  for (int32_t i = 0; i < 8; ++i) {
    click(MessageKind::buttonDown, 0x1, 10 * i, 5);
    click(MessageKind::buttonUp, 0x1, 10 * i + 1, 6);
  }
  std::vector<Click> clicks = takeClicks();
  ASSERT_EQ(clicks.size(), 16u);
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(clicks[2 * i], (Click{mouseClickPress, 10 * i, 5, 0x1}));
    EXPECT_EQ(clicks[2 * i + 1], (Click{mouseClickRelease, 10 * i + 1, 6, 0x1}));
  }
  // readMouse still tells only the state now.
  EXPECT_EQ(report().buttons, 0);
}

TEST_F(NamedKeysAndClicksTest, DoubleClicksRightAndExtraButtons) {
  click(MessageKind::buttonDown, 0x2, 50, 60);
  click(MessageKind::buttonUp, 0x2, 50, 60);
  click(MessageKind::buttonDoubleClick, 0x2, 51, 60);
  click(MessageKind::buttonDown, 0x8 | 0x10, 7, 8);  // both extra buttons at once
  EXPECT_EQ(takeClicks(), (std::vector<Click>{{mouseClickPress, 50, 60, 0x2},
                                              {mouseClickRelease, 50, 60, 0x2},
                                              {mouseClickDouble, 51, 60, 0x2},
                                              {mouseClickPress, 7, 8, 0x8},
                                              {mouseClickPress, 7, 8, 0x10}}));
  // Null outputs are allowed; an empty ring leaves the outputs alone.
  click(MessageKind::buttonUp, 0x8, 7, 8);
  EXPECT_EQ(pollMouseClick(nullptr, nullptr, nullptr), mouseClickRelease);
  int32_t x = 123;
  EXPECT_EQ(pollMouseClick(&x, nullptr, nullptr), 0);
  EXPECT_EQ(x, 123);
}

TEST_F(NamedKeysAndClicksTest, AFullRingDropsTheOldestAndANewWindowStartsEmpty) {
  for (int32_t i = 0; i < 40; ++i) click(MessageKind::buttonDown, 0x4, i, 0);
  std::vector<Click> clicks = takeClicks();
  ASSERT_EQ(clicks.size(), static_cast<size_t>(mouseClickRingSize - 1));
  EXPECT_EQ(clicks.front().x, 40 - (mouseClickRingSize - 1));
  EXPECT_EQ(clicks.back().x, 39);
  click(MessageKind::buttonDown, 0x1, 1, 1);
  resetMouseForWindowLayer();
  EXPECT_EQ(pollMouseClick(nullptr, nullptr, nullptr), 0);
  closeScreen();
  EXPECT_EQ(pollMouseClick(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(runtimeError(), errBadCall);
}

}  // namespace krgfx
