// Real keys and pointer movements, injected with XTest into the X server that
// shows the screen's window, as the program reads them.
// GoogleTest before Xlib, whose None macro it would trip over.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <krgfx/input.h>
#include "gfx/display/window_layer.h"
#include "gfx/screen.h"
#include "input/key_buffer.h"
#include "input/mouse_clicks.h"
#include "input/window_input.h"
#include "support/x11_display_scale.h"
#include "support/x11_window_fixture.h"

namespace krgfx {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The GDI driver, with the window layer's pointer operations in its slots.
DisplayDriver gdiWithMouse;

template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds timeout = 3s) {
  auto end = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class RealInputTest : public X11WindowTest {
 protected:
  static constexpr int32_t width = 320, height = 200;

  void SetUp() override {
    X11WindowTest::SetUp();
    if (IsSkipped()) return;
    // The server refuses connections while it resets after its last client.
    ASSERT_TRUE(waitFor([this] { return useScreen(0); })) << "no X server";
    int event, error, major, minor;
    ASSERT_TRUE(XTestQueryExtension(test, &event, &error, &major, &minor));
    keyBuffer = KeyBuffer{};
    gdiWithMouse = gdiDriver;
    gdiWithMouse.readMouse = windowReadMouse;
    gdiWithMouse.placeMouse = windowPlaceMouse;
    driverTable[1] = &gdiWithMouse;
    setenv("KRGFX", "GDI", 1);
    ASSERT_EQ(openScreen(width, height, 32, 1, 0, 0), 0);
    ASSERT_TRUE(waitFor([this] { return (window = findWindow()) != 0 && clientOrigin(); }));
    ASSERT_EQ(placed.scale, expectedWindowScale(test, DefaultScreen(test), width, height));
    // Into the window: with no window manager the focus may follow it.
    movePointer(width / 2, height / 2);
    ASSERT_TRUE(waitFor([] {
      int32_t x, y;
      return readMouse(&x, &y, nullptr, nullptr, nullptr) == 0;
    })) << "the window never became active with the pointer inside";
    while (!pollKey().empty()) {
    }
  }

  // Where the client area's corner lies on the screen, and the picture in
  // it; false until mapped.
  bool clientOrigin() {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(test, window, &attributes) || attributes.map_state != IsViewable)
      return false;
    ClientArea area = clientArea(window);
    placed = pictureInClient(area.width, area.height, width, height);
    Window child;
    return XTranslateCoordinates(test, window, DefaultRootWindow(test), area.x, area.y, &originX,
                                 &originY, &child);
  }
  // The client position of a framebuffer position: the middle of its square
  // (the near edge for positions left of or above the picture).
  int32_t clientX(int32_t x) const {
    return placed.x + x * placed.scale + (x >= 0 ? placed.scale / 2 : 0);
  }
  int32_t clientY(int32_t y) const {
    return placed.y + y * placed.scale + (y >= 0 ? placed.scale / 2 : 0);
  }
  // Moves the real pointer over a framebuffer position.
  void movePointer(int32_t x, int32_t y) {
    XTestFakeMotionEvent(test, DefaultScreen(test), originX + clientX(x), originY + clientY(y),
                         CurrentTime);
    XSync(test, False);
  }
  void pressKey(KeySym keysym) {
    KeyCode code = XKeysymToKeycode(test, keysym);
    ASSERT_NE(code, 0) << "no key for keysym " << keysym;
    XTestFakeKeyEvent(test, code, True, CurrentTime);
    XTestFakeKeyEvent(test, code, False, CurrentTime);
    XFlush(test);
  }
  void setButton(unsigned int button, bool down) {
    XTestFakeButtonEvent(test, button, down, CurrentTime);
    XSync(test, False);
  }
  // Where the real pointer is, on the screen.
  std::pair<int, int> pointer() {
    Window root, child;
    int rootX = 0, rootY = 0, x, y;
    unsigned int mask;
    XQueryPointer(test, DefaultRootWindow(test), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
  }
  // Whether the pointer the server shows now has no visible pixel. A
  // compositor draws its pointer into its own window: there, no pixel of the
  // arrow's box below and right of the pointer is lit (the screen and the
  // compositor's background round it are black).
  bool pointerHidden() {
    if (onCompositor()) return !litPixelsBelowRightOfPointer();
    XFixesCursorImage* image = XFixesGetCursorImage(test);
    if (!image) return false;
    bool hidden = true;
    for (int i = 0; i < image->width * image->height; ++i)
      if (image->pixels[i] >> 24) hidden = false;
    XFree(image);
    return hidden;
  }
  bool litPixelsBelowRightOfPointer() {
    constexpr int box = 12;
    auto [x, y] = pointer();
    Window child;
    int windowX = 0, windowY = 0;
    XTranslateCoordinates(test, DefaultRootWindow(test), window, x, y, &windowX, &windowY, &child);
    XImage* image = XGetImage(test, window, windowX, windowY, box, box, AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int row = 0; row < box; ++row)
      for (int column = 0; column < box; ++column)
        if (XGetPixel(image, column, row) & 0xFFFFFF) lit = true;
    XDestroyImage(image);
    return lit;
  }
  // The screen's events since the last look (the ring of gfxScreen, read
  // under the screen lock).
  static std::vector<ScreenEvent> takeEvents() {
    std::vector<ScreenEvent> events;
    lockScreen();
    for (int32_t i = gfxScreen->eventHead; i != gfxScreen->eventTail; i = (i + 1) & 127)
      events.push_back(gfxScreen->events[i]);
    gfxScreen->eventHead = gfxScreen->eventTail;
    unlockScreen(1, 0);
    return events;
  }
  static std::string nextKey(std::chrono::milliseconds timeout = 3s) {
    std::string key;
    waitFor([&key] { return !(key = pollKey()).empty(); }, timeout);
    return key;
  }
  struct Report {
    int32_t result, x, y, wheel, buttons, clip;
  };
  static Report report() {
    Report r{};
    r.result = readMouse(&r.x, &r.y, &r.wheel, &r.buttons, &r.clip);
    return r;
  }
  // Waits until a report answers the condition; the last report.
  template <typename Condition>
  static Report reportWhen(Condition condition) {
    Report r{};
    waitFor([&] { return condition(r = report()); });
    return r;
  }

  Window window = 0;
  int originX = 0, originY = 0;
  PicturePlacement placed{0, 0, 1};  // the picture in the client area
};

}  // namespace

// Needs the X11 window system to hand its key events to X11KeyTranslator
// (gfx/display/x11/x11_key_events.h); until it does, only scan codes arrive.
TEST_F(RealInputTest, TypedKeysReachPollKey) {
  pressKey(XK_a);
  EXPECT_EQ(nextKey(), "a");
  pressKey(XK_F1);
  EXPECT_EQ(nextKey(), std::string("\xFF;"));
  pressKey(XK_Up);
  EXPECT_EQ(nextKey(), std::string("\xFFH"));
  pressKey(XK_Escape);
  EXPECT_EQ(nextKey(), "\x1b");
  EXPECT_EQ(nextKey(100ms), "");
}

// A key held with Shift repeats (the X server's auto-repeat, or on Wayland
// the runtime's own from the compositor's rate and delay), every repeat
// with the Shift it was held with; the release ends it.
TEST_F(RealInputTest, AHeldKeyRepeatsWithItsModifiers) {
  KeyCode shift = XKeysymToKeycode(test, XK_Shift_L), b = XKeysymToKeycode(test, XK_b);
  XTestFakeKeyEvent(test, shift, True, CurrentTime);
  XTestFakeKeyEvent(test, b, True, CurrentTime);
  XFlush(test);
  std::vector<std::string> keys;
  waitFor([&keys] {
    for (std::string key = pollKey(); !key.empty(); key = pollKey()) keys.push_back(key);
    return keys.size() >= 3;
  });
  XTestFakeKeyEvent(test, b, False, CurrentTime);
  XTestFakeKeyEvent(test, shift, False, CurrentTime);
  XFlush(test);
  ASSERT_GE(keys.size(), 3u) << "no repeats";
  for (const std::string& key : keys) EXPECT_EQ(key, "B");
  // Released: what was typed meanwhile drains, then nothing more comes.
  while (!nextKey(300ms).empty()) {
  }
  EXPECT_EQ(nextKey(300ms), "");
}

// Wheel notches both ways on both axes: readMouse's counter follows the
// vertical ones, each notch an event of its axis with the counter after it.
TEST_F(RealInputTest, WheelNotchesTurnBothCounters) {
  movePointer(50, 50);
  ASSERT_EQ(reportWhen([](const Report& r) { return r.x == 50; }).x, 50);
  int32_t start = report().wheel;
  takeEvents();
  // X buttons 4 and 5 turn the wheel forward and back, 6 and 7 left and right.
  for (unsigned button : {4u, 4u, 5u, 7u, 7u, 6u}) {
    setButton(button, true);
    setButton(button, false);
  }
  std::vector<std::pair<int32_t, int32_t>> turns;  // event type, counter
  waitFor([&] {
    for (const ScreenEvent& event : takeEvents())
      if (event.type == 8 || event.type == 14) turns.emplace_back(event.type, event.word1);
    return turns.size() >= 6;
  });
  ASSERT_EQ(turns.size(), 6u);
  EXPECT_EQ(turns[0], std::pair(8, start + 1));
  EXPECT_EQ(turns[1], std::pair(8, start + 2));
  EXPECT_EQ(turns[2], std::pair(8, start + 1));
  int32_t horizontal = turns[3].second;
  EXPECT_EQ(turns[3].first, 14);
  EXPECT_EQ(turns[4], std::pair(14, horizontal + 1));
  EXPECT_EQ(turns[5], std::pair(14, horizontal));
  EXPECT_EQ(report().wheel, start + 1);
}

TEST_F(RealInputTest, ThePointerIsReportedAtItsClientPosition) {
  movePointer(37, 21);
  Report r = reportWhen([](const Report& r) { return r.x == 37 && r.y == 21; });
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.x, 37);
  EXPECT_EQ(r.y, 21);
  EXPECT_EQ(r.buttons, 0);
  setButton(1, true);
  EXPECT_EQ(reportWhen([](const Report& r) { return r.buttons == 1; }).buttons, 1);
  setButton(1, false);
  EXPECT_EQ(reportWhen([](const Report& r) { return r.buttons == 0; }).buttons, 0);
}

TEST_F(RealInputTest, ThePointerOutsideGivesNoReport) {
  ASSERT_GE(originX, 10) << "the window must not touch the screen's left edge";
  movePointer(-10, 20);
  Report r = reportWhen([](const Report& r) { return r.result != 0; });
  EXPECT_EQ(r.result, 1);
  for (int32_t value : {r.x, r.y, r.wheel, r.buttons, r.clip}) EXPECT_EQ(value, -1);
  movePointer(5, 6);
  EXPECT_EQ(reportWhen([](const Report& r) { return r.result == 0; }).x, 5);
}

TEST_F(RealInputTest, PlaceMouseMovesTheRealPointer) {
  if (onCompositor()) {
    // A Wayland client cannot move the pointer: the call succeeds and the
    // pointer stays where the user left it.
    movePointer(30, 40);
    ASSERT_EQ(reportWhen([](const Report& r) { return r.x == 30; }).y, 40);
    EXPECT_EQ(placeMouse(100, 50, -1, -1), 0);
    std::this_thread::sleep_for(100ms);
    Report r = report();
    EXPECT_EQ(r.x, 30);
    EXPECT_EQ(r.y, 40);
    return;
  }
  EXPECT_EQ(placeMouse(100, 50, -1, -1), 0);
  EXPECT_TRUE(waitFor(
      [&] { return pointer() == std::pair(originX + clientX(100), originY + clientY(50)); }));
  EXPECT_EQ(placeMouse(-5, 9999, -1, -1), 0);
  EXPECT_TRUE(waitFor(
      [&] { return pointer() == std::pair(originX + clientX(0), originY + clientY(height - 1)); }));
  Report r = report();
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, height - 1);
}

TEST_F(RealInputTest, AConfinedPointerStaysOverThePicture) {
  if (onCompositor())
    GTEST_SKIP() << "weston's X11 back end never activates a pointer confinement (no confined "
                    "event comes)";
  EXPECT_EQ(placeMouse(10, 10, -1, 1), 0);
  XTestFakeMotionEvent(test, DefaultScreen(test), 0, 0, CurrentTime);
  XSync(test, False);
  // A compositor confines its own pointer, not the X server's that it follows.
  if (!onCompositor()) {
    EXPECT_TRUE(waitFor([&] { return pointer() == std::pair(originX, originY); }));
  }
  EXPECT_EQ(reportWhen([](const Report& r) { return r.x == 0; }).x, 0);
  XTestFakeMotionEvent(test, DefaultScreen(test), originX + 5000, originY + 5000, CurrentTime);
  XSync(test, False);
  Report r = reportWhen([](const Report& r) { return r.x == width - 1 && r.y == height - 1; });
  EXPECT_EQ(r.x, width - 1);
  EXPECT_EQ(r.y, height - 1);
  EXPECT_EQ(r.clip, 1);
  EXPECT_EQ(placeMouse(mouseNotGiven, mouseNotGiven, -1, 0), 0);
  XTestFakeMotionEvent(test, DefaultScreen(test), 0, 0, CurrentTime);
  XSync(test, False);
  if (onCompositor()) {
    EXPECT_EQ(reportWhen([](const Report& r) { return r.result != 0; }).result, 1)
        << "still confined";
  } else {
    EXPECT_TRUE(waitFor([&] { return pointer() == std::pair(0, 0); })) << "still confined";
  }
}

// The modifiers belong to the key event: a Shift released before the
// presenter handles the F1 (typed quickly, or while the program holds the
// screen lock) still makes it Shift+F1.
TEST_F(RealInputTest, AQuicklyTypedShiftF1KeepsItsShift) {
  KeyCode shift = XKeysymToKeycode(test, XK_Shift_L), f1 = XKeysymToKeycode(test, XK_F1);
  ASSERT_NE(shift, 0);
  ASSERT_NE(f1, 0);
  int right = 0;
  for (int i = 0; i < 10; ++i) {
    lockScreen();
    for (auto [code, down] : {std::pair{shift, true}, {f1, true}, {f1, false}, {shift, false}})
      XTestFakeKeyEvent(test, code, down, CurrentTime);
    XSync(test, False);
    std::this_thread::sleep_for(20ms);
    unlockScreen(1, 0);
    if (nextKey() == "\xFFT") ++right;
  }
  EXPECT_EQ(right, 10);
  EXPECT_EQ(nextKey(100ms), "");
}

TEST_F(RealInputTest, ShiftTabGivesTheBackTab) {
  KeyCode shift = XKeysymToKeycode(test, XK_Shift_L);
  ASSERT_NE(shift, 0);
  XTestFakeKeyEvent(test, shift, True, CurrentTime);
  pressKey(XK_Tab);
  XTestFakeKeyEvent(test, shift, False, CurrentTime);
  XFlush(test);
  EXPECT_EQ(nextKey(), std::string("\xFF\x0F"));
  EXPECT_EQ(nextKey(), "\t");  // Shift+Tab types a Tab too, as on a PC
}

// Hidden by placeMouse, the pointer stays hidden over the client area: when
// it comes back from outside, and over the window that Alt+Enter makes anew
// (full screen fails for this size and the window is opened again).
TEST_F(RealInputTest, AHiddenPointerStaysHiddenOverTheClientArea) {
  ASSERT_GE(originX, 10) << "the window must not touch the screen's left edge";
  ASSERT_TRUE(waitFor([this] { return !pointerHidden(); }));
  EXPECT_EQ(placeMouse(20, 30, 0, -1), 0);
  EXPECT_TRUE(waitFor([this] { return pointerHidden(); }));
  movePointer(-10, 20);
  // Weston's kiosk shell shows no pointer where no window is.
  if (!onCompositor()) {
    EXPECT_TRUE(waitFor([this] { return !pointerHidden(); })) << "hidden outside the window";
  }
  movePointer(40, 20);
  EXPECT_TRUE(waitFor([this] { return pointerHidden(); })) << "shown after coming back";

  movePointer(-10, 20);
  EXPECT_TRUE(waitFor([] { return report().result != 0; }));
  EXPECT_EQ(placeMouse(mouseNotGiven, mouseNotGiven, 1, -1), 0);
  EXPECT_EQ(placeMouse(mouseNotGiven, mouseNotGiven, 0, -1), 0);
  movePointer(40, 20);
  EXPECT_TRUE(waitFor([this] { return pointerHidden(); })) << "hidden while outside, shown inside";

  Window before = window;
  KeyCode alt = XKeysymToKeycode(test, XK_Alt_L), enter = XKeysymToKeycode(test, XK_Return);
  for (auto [code, down] : {std::pair{alt, true}, {enter, true}, {enter, false}, {alt, false}})
    XTestFakeKeyEvent(test, code, down, CurrentTime);
  XSync(test, False);
  // A compositor's window stays: the program's own grew to full screen.
  ASSERT_TRUE(waitFor([&] {
    return (window = findWindow()) != 0 &&
           (window != before || (onCompositor() && windowLayer.clientWidth != width));
  }));
  ASSERT_TRUE(waitFor([this] { return clientOrigin(); }));
  movePointer(50, 40);
  EXPECT_TRUE(waitFor([this] { return pointerHidden(); })) << "shown over the new window";
}

// Not a check of speed: it records how long a key takes from the X server to
// pollKey (median and 95th percentile of 100 presses) for the record.
TEST_F(RealInputTest, KeyLatencyFromPressToPollKey) {
  constexpr int presses = 100;
  std::vector<double> milliseconds;
  for (int i = 0; i < presses; ++i) {
    auto start = Clock::now();
    pressKey(XK_F1);
    std::string key = nextKey();
    auto elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ASSERT_EQ(key, std::string("\xFF;")) << "press " << i;
    milliseconds.push_back(elapsed);
    std::this_thread::sleep_for(std::chrono::milliseconds(i % 7));  // spread over the rounds
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  double median = (milliseconds[presses / 2 - 1] + milliseconds[presses / 2]) / 2;
  double p95 = milliseconds[static_cast<size_t>(presses * 95 / 100) - 1];
  std::printf("key latency over %d presses: median %.2f ms, 95th percentile %.2f ms, max %.2f ms\n",
              presses, median, p95, milliseconds.back());
  RecordProperty("median_ms", std::to_string(median));
  RecordProperty("p95_ms", std::to_string(p95));
}

// Clicks made while the program holds the screen lock (the presenter waits,
// as it does while a slow program draws): readMouse afterwards sees only the
// buttons up, pollMouseClick every press and release with its place.
TEST_F(RealInputTest, ClicksBetweenTwoLooksAreAllKept) {
  while (pollMouseClick(nullptr, nullptr, nullptr) != 0) {
  }
  lockScreen();
  for (int32_t i = 0; i < 8; ++i) {
    movePointer(20 + 30 * i, 40);
    setButton(1, true);
    setButton(1, false);
  }
  unlockScreen(1, 0);
  struct Seen {
    int32_t kind, x, y, button;
  };
  std::vector<Seen> seen;
  waitFor([&seen] {
    Seen click{};
    while ((click.kind = pollMouseClick(&click.x, &click.y, &click.button)) != 0)
      seen.push_back(click);
    return seen.size() >= 16;
  });
  ASSERT_EQ(seen.size(), 16u);
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(seen[2 * i].kind, mouseClickPress) << i;
    EXPECT_EQ(seen[2 * i + 1].kind, mouseClickRelease) << i;
    for (const Seen& click : {seen[2 * i], seen[2 * i + 1]}) {
      EXPECT_EQ(click.x, 20 + 30 * i);
      EXPECT_EQ(click.y, 40);
      EXPECT_EQ(click.button, 1);
    }
  }
  EXPECT_EQ(report().buttons, 0);
}

TEST_F(RealInputTest, RealKeysGiveTheirNamedCodes) {
  for (auto [keysym, code] : {std::pair{XK_Up, keyUp},
                              {XK_Down, keyDown},
                              {XK_Left, keyLeft},
                              {XK_Right, keyRight},
                              {XK_F1, keyF1},
                              {XK_F12, keyF12},
                              {XK_Escape, keyEscape},
                              {XK_Return, keyEnter},
                              {XK_Delete, keyDelete}}) {
    pressKey(keysym);
    int32_t got = 0;
    waitFor([&got] { return (got = pollKeyCode()) != 0; });
    EXPECT_EQ(got, code) << keysym;
  }
}

}  // namespace krgfx
