#include "input/double_click.h"

#include <cstdlib>

namespace krgfx {

bool DoubleClickDetector::press(int32_t button, uint32_t timeMs, int32_t x, int32_t y) {
  bool isDouble = armed_ && button == button_ && timeMs - timeMs_ <= intervalMs &&
                  std::abs(int64_t{x} - x_) <= distance && std::abs(int64_t{y} - y_) <= distance;
  armed_ = !isDouble;
  button_ = button;
  timeMs_ = timeMs;
  x_ = x;
  y_ = y;
  return isDouble;
}

}  // namespace krgfx
