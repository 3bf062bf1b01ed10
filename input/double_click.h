// Double-clicks for a window system that reports only presses: a second
// press of the same button within 500 ms and 4 pixels of the first is a
// double-click; the press after a double-click starts over.
#pragma once

#include <cstdint>

namespace krgfx {

class DoubleClickDetector {
 public:
  static constexpr uint32_t intervalMs = 500;
  static constexpr int32_t distance = 4;

  // A press of `button` at event time `timeMs` (a wrapping millisecond clock,
  // as X server times are) and position (x, y); true when it completes a
  // double-click.
  bool press(int32_t button, uint32_t timeMs, int32_t x, int32_t y);
  // Forgets the last press, e.g. when the window loses the focus.
  void reset() { armed_ = false; }

 private:
  bool armed_ = false;
  int32_t button_ = 0;
  uint32_t timeMs_ = 0;
  int32_t x_ = 0, y_ = 0;
};

}  // namespace krgfx
