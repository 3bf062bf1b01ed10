#include <krgfx/runtime.h>
#include "window_input_fixture.h"

namespace krgfx {

namespace {

using WindowMouseTest = WindowInputTest;
using Events = std::vector<ScreenEvent>;
using Types = std::vector<int32_t>;

}  // namespace

TEST_F(WindowMouseTest, ThePointerInsideIsReportedInClientPixels) {
  moveTo(320, 240);
  Report r = report();
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.x, 320);
  EXPECT_EQ(r.y, 240);
  EXPECT_EQ(r.wheel, 0);
  EXPECT_EQ(r.buttons, 0);
  EXPECT_EQ(r.clip, 0);
  EXPECT_EQ(runtimeError(), 0);
  moveTo(0, 599);
  EXPECT_EQ(report().y, 599);
}

TEST_F(WindowMouseTest, OutsideTheWindowEverythingIsMinusOne) {
  moveTo(320, 240);
  moveTo(800, 240);  // one past the right edge
  Report r = report();
  expectNoReport(r);
  EXPECT_TRUE(r.buttons != 0);
  EXPECT_FALSE(r.buttons > 0);
  EXPECT_EQ(runtimeError(), errBadCall);
}

TEST_F(WindowMouseTest, AnInactiveWindowReportsNothing) {
  moveTo(320, 240);
  activate(false);
  expectNoReport(report());
  activate(true);
  EXPECT_EQ(report().result, 0);
  activate(true, true);  // minimised
  expectNoReport(report());
}

TEST_F(WindowMouseTest, DraggingOutKeepsTheButtonButReportsNothing) {
  moveTo(790, 300);
  button(MessageKind::buttonDown, 0x1);
  EXPECT_TRUE(system.captured());
  moveTo(900, 300);  // still sent to the window: it holds the capture
  EXPECT_EQ(mouseState.mouseButtons, 1);
  EXPECT_EQ(mouseState.mouseX, 900);
  expectNoReport(report());
  moveTo(795, 310);
  Report r = report();
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.buttons, 1);
  EXPECT_EQ(r.x, 795);
}

TEST_F(WindowMouseTest, PositionsLeftOfTheWindowWrapAsSixteenBitWords) {
  moveTo(100, 100);
  moveTo(-1, -2);
  EXPECT_EQ(mouseState.mouseX, 0xFFFF);
  EXPECT_EQ(mouseState.mouseY, 0xFFFE);
  expectNoReport(report());
}

TEST_F(WindowMouseTest, PlaceMouseClampsAndMovesTheRealPointer) {
  EXPECT_EQ(placeMouse(-5, 9999, -1, -1), 0);
  Report r = report();
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, 599);
  EXPECT_EQ(system.pointerX(), clientLeft);
  EXPECT_EQ(system.pointerY(), clientTop + 599);
  EXPECT_TRUE(system.pointerVisible());
  EXPECT_FALSE(system.confined());
}

TEST_F(WindowMouseTest, PlaceMouseReportsAtOnceEvenFromOutside) {
  moveTo(1000, 1000);
  expectNoReport(report());
  EXPECT_EQ(placeMouse(320, 240, 0, -1), 0);
  Report r = report();  // no move message has arrived yet
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.x, 320);
  EXPECT_EQ(r.y, 240);
  EXPECT_EQ(system.pointerX(), clientLeft + 320);
  EXPECT_FALSE(system.pointerVisible());
  EXPECT_FALSE(system.confined());
}

// Where the pointer cannot be moved (Wayland) it stays, and so does what
// readMouse reports; hiding and confining still apply.
TEST_F(WindowMouseTest, PlaceMouseLeavesAPointerThatCannotBeMoved) {
  system.setPointerMovable(false);
  moveTo(100, 50);
  EXPECT_EQ(placeMouse(320, 240, 0, 1), 0);
  Report r = report();
  EXPECT_EQ(r.x, 100);
  EXPECT_EQ(r.y, 50);
  EXPECT_EQ(r.clip, 1);
  EXPECT_EQ(system.pointerX(), clientLeft + 100);
  EXPECT_EQ(system.pointerY(), clientTop + 50);
  EXPECT_FALSE(system.pointerVisible());
  EXPECT_TRUE(system.confined());
  moveTo(1000, 1000);
  EXPECT_EQ(placeMouse(320, 240, -1, -1), 0);
  expectNoReport(report());
}

TEST_F(WindowMouseTest, AHiddenPointerShowsOutsideTheClientArea) {
  placeMouse(320, 240, 0, -1);
  deliver(scriptedMessage(MessageKind::setCursor));
  EXPECT_FALSE(system.pointerVisible());
  pointAt(-10, 5);
  deliver(scriptedMessage(MessageKind::setCursor));
  EXPECT_TRUE(system.pointerVisible());
  pointAt(10, 5);
  deliver(scriptedMessage(MessageKind::setCursor));
  EXPECT_FALSE(system.pointerVisible());
  placeMouse(mouseNotGiven, mouseNotGiven, 1, -1);
  EXPECT_TRUE(system.pointerVisible());
  EXPECT_EQ(mouseState.cursorVisible, 1);
}

TEST_F(WindowMouseTest, AMissingCoordinateKeepsItsValue) {
  moveTo(30, 40);
  placeMouse(mouseNotGiven, 500, -1, -1);
  EXPECT_EQ(report().x, 30);
  EXPECT_EQ(report().y, 500);
  placeMouse(700, mouseNotGiven, -1, -1);
  EXPECT_EQ(report().x, 700);
  EXPECT_EQ(report().y, 500);
  // Neither given: the pointer stays where it is.
  pointAt(1, 2);
  placeMouse(mouseNotGiven, mouseNotGiven, -1, -1);
  EXPECT_EQ(system.pointerX(), clientLeft + 1);
}

TEST_F(WindowMouseTest, ConfiningFollowsTheClipArgument) {
  moveTo(5, 5);
  placeMouse(mouseNotGiven, mouseNotGiven, -1, 1);
  EXPECT_TRUE(system.confined());
  EXPECT_EQ(report().clip, 1);
  placeMouse(mouseNotGiven, mouseNotGiven, -1, -1);
  EXPECT_TRUE(system.confined());
  placeMouse(mouseNotGiven, mouseNotGiven, -1, 0);
  EXPECT_FALSE(system.confined());
  EXPECT_EQ(report().clip, 0);
}

TEST_F(WindowMouseTest, OneWheelNotchIsOneStep) {
  wheel(MessageKind::wheel, 120);
  wheel(MessageKind::wheel, 1);
  wheel(MessageKind::wheel, 960);
  EXPECT_EQ(report().wheel, 3);
  wheel(MessageKind::wheel, -120);
  wheel(MessageKind::wheel, -7);
  EXPECT_EQ(report().wheel, 1);
  wheel(MessageKind::horizontalWheel, -120);
  EXPECT_EQ(mouseState.mouseHWheel, -1);
  EXPECT_EQ(report().wheel, 1);
  Events events = takeEvents();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[2], (ScreenEvent{8, 3, 0, 0, 0}));
  EXPECT_EQ(events[5], (ScreenEvent{14, -1, 0, 0, 0}));
}

TEST_F(WindowMouseTest, TheWheelCounterWraps) {
  mouseState.mouseWheel = INT32_MAX;
  wheel(MessageKind::wheel, 120);
  EXPECT_EQ(mouseState.mouseWheel, INT32_MIN);
}

TEST_F(WindowMouseTest, ActivationClearsButtonsButKeepsTheWheel) {
  moveTo(10, 10);
  button(MessageKind::buttonDown, 0x2);
  wheel(MessageKind::wheel, 120);
  activate(false);
  activate(true);
  Report r = report();
  EXPECT_EQ(r.buttons, 0);
  EXPECT_EQ(r.wheel, 1);
}

TEST_F(WindowMouseTest, CaptureLastsWhileAnyButtonIsHeld) {
  button(MessageKind::buttonDown, 0x1);
  button(MessageKind::buttonDown, 0x2);
  EXPECT_EQ(report().buttons, 3);
  button(MessageKind::buttonUp, 0x1);
  EXPECT_TRUE(system.captured());
  EXPECT_EQ(report().buttons, 2);
  button(MessageKind::buttonUp, 0x2);
  EXPECT_FALSE(system.captured());
  EXPECT_EQ(takeEvents(),
            (Events{{5, 1, 0, 0, 0}, {5, 2, 0, 0, 0}, {6, 1, 0, 0, 0}, {6, 2, 0, 0, 0}}));
}

TEST_F(WindowMouseTest, DoubleClicksAndExtraButtons) {
  button(MessageKind::buttonDown, 0x4);
  button(MessageKind::buttonUp, 0x4);
  button(MessageKind::buttonDoubleClick, 0x4);
  EXPECT_EQ(report().buttons, 4);
  button(MessageKind::buttonUp, 0x4);
  button(MessageKind::buttonDown, 0x8);
  button(MessageKind::buttonDown, 0x8);  // already held: nothing new to post
  button(MessageKind::buttonDoubleClick, 0x10);
  EXPECT_EQ(report().buttons, 0x18);
  button(MessageKind::buttonUp, 0x10);
  button(MessageKind::buttonUp, 0x10);  // no longer held: nothing to post
  button(MessageKind::buttonUp, 0x8);
  EXPECT_EQ(takeEvents(), (Events{{5, 4, 0, 0, 0},
                                  {6, 4, 0, 0, 0},
                                  {7, 4, 0, 0, 0},
                                  {6, 4, 0, 0, 0},
                                  {5, 8, 0, 0, 0},
                                  {7, 16, 0, 0, 0},
                                  {6, 16, 0, 0, 0},
                                  {6, 8, 0, 0, 0}}));
  EXPECT_EQ(report().buttons, 0);
}

TEST_F(WindowMouseTest, MovesPostTheirScreenDelta) {
  moveTo(10, 10);  // the first move only remembers where it was; it arms tracking
  moveTo(15, 7);
  moveTo(15, 7);  // no change: no event
  windowLayer.windowActive = 0;
  moveTo(20, 20);  // inactive: no event, but the position is remembered
  windowLayer.windowActive = 1;
  moveTo(21, 22);
  EXPECT_EQ(takeEvents(), (Events{{9, 0, 0, 0, 0}, {4, 15, 7, 5, -3}, {4, 21, 22, 1, 2}}));
}

TEST_F(WindowMouseTest, LeaveReportsEndTracking) {
  moveTo(10, 10);
  moveTo(11, 10);
  pointAt(-5, 10);
  deliver(scriptedMessage(MessageKind::mouseLeave));
  deliver(scriptedMessage(MessageKind::mouseLeave));  // not armed: nothing more
  moveTo(12, 10);
  EXPECT_EQ(takeEventTypes(), (Types{9, 4, 10, 4, 9}));
  EXPECT_TRUE(system.timers().empty());
}

TEST_F(WindowMouseTest, MovesOutsideDoNotArmTracking) {
  button(MessageKind::buttonDown, 0x1);
  moveTo(-50, 10);
  EXPECT_EQ(mouseState.mouseTracking, 0);
  moveTo(5, 10);
  EXPECT_EQ(mouseState.mouseTracking, 1);
}

TEST_F(WindowMouseTest, TheTimerStandsInForLeaveReports) {
  leaveTrackingByTimer = true;
  moveTo(10, 10);
  EXPECT_EQ(system.timers(), (std::map<int32_t, int32_t>{{2, 100}}));
  ASSERT_TRUE(system.fireTimer(2));
  system.dispatchMessages(procedure);
  EXPECT_EQ(mouseState.mouseTracking, 1);  // still inside
  system.setPointerOverThisWindow(false);  // another window covers it there
  ASSERT_TRUE(system.fireTimer(2));
  system.dispatchMessages(procedure);
  EXPECT_EQ(mouseState.mouseTracking, 0);
  EXPECT_TRUE(system.timers().empty());
  EXPECT_EQ(takeEventTypes(), (Types{9, 10}));
}

TEST_F(WindowMouseTest, TheTimerNoticesThePointerOutside) {
  leaveTrackingByTimer = true;
  moveTo(10, 10);
  pointAt(900, 10);
  ASSERT_TRUE(system.fireTimer(2));
  system.dispatchMessages(procedure);
  EXPECT_TRUE(system.timers().empty());
  EXPECT_EQ(takeEventTypes(), (Types{9, 10}));
  moveTo(10, 11);
  EXPECT_EQ(system.timers().size(), 1u);
}

TEST_F(WindowMouseTest, DeactivationLiftsConfinementAndActivationRestoresIt) {
  moveTo(10, 10);
  placeMouse(mouseNotGiven, mouseNotGiven, -1, 1);
  takeEvents();
  activate(false);
  EXPECT_FALSE(system.confined());
  EXPECT_EQ(mouseState.mouseClip, 1);
  EXPECT_EQ(takeEventTypes(), Types{10});
  activate(true);
  EXPECT_TRUE(system.confined());
  EXPECT_EQ(takeEventTypes(), Types{9});
}

TEST_F(WindowMouseTest, ActivationWithThePointerOutsideArmsNothing) {
  activate(false);
  pointAt(-1, -1);
  activate(true);
  EXPECT_EQ(mouseState.mouseTracking, 0);
  EXPECT_TRUE(takeEvents().empty());
}

TEST_F(WindowMouseTest, MovingTheWindowLiftsConfinement) {
  placeMouse(mouseNotGiven, mouseNotGiven, -1, 1);
  deliver(scriptedMessage(MessageKind::moving));
  EXPECT_FALSE(system.confined());
  EXPECT_EQ(mouseState.mouseClip, 1);
  moveTo(3, 3);  // arming tracking confines it again
  EXPECT_TRUE(system.confined());
}

TEST_F(WindowMouseTest, EachStartOfTheWindowLayerResetsPartOfTheState) {
  moveTo(30, 40);
  button(MessageKind::buttonDown, 1);
  wheel(MessageKind::wheel, 1);
  wheel(MessageKind::horizontalWheel, 1);
  placeMouse(mouseNotGiven, mouseNotGiven, 0, 1);
  resetMouseForWindowLayer();
  EXPECT_EQ(mouseState.mouseWheel, 0);
  EXPECT_EQ(mouseState.mouseButtons, 0);
  EXPECT_EQ(mouseState.mouseClip, 0);
  EXPECT_EQ(mouseState.cursorVisible, 1);
  EXPECT_EQ(mouseState.lastScreenX, 0xFFFF);
  EXPECT_EQ(mouseState.mouseHWheel, 1);
  EXPECT_EQ(mouseState.mouseX, 30);
  EXPECT_EQ(mouseState.mouseInside, 1);
}

}  // namespace krgfx
