// The graphics screen's pause: slices of 50 ms between which a posted key
// ends it. The key that ends it stays in the key buffer.
#include "input/input_hooks.h"
#include "input/key_buffer.h"
#include "input/system_clock.h"

namespace krgfx {

namespace {

constexpr int32_t sliceMs = 50;
constexpr int32_t untilKey = -1;
constexpr int32_t shortestWatchedPause = 100;

bool keyArrived() { return takeKeyPosted() != 0 || screenClosePending(); }

}  // namespace

void screenSleep(int32_t ms) {
  if (ms == untilKey) {
    while (!keyArrived()) systemClock.pause(sliceMs);
    return;
  }
  if (ms >= shortestWatchedPause) {
    do {
      if (keyArrived()) return;
      systemClock.pause(sliceMs);
      ms -= sliceMs;
    } while (ms > sliceMs);
  }
  if (ms > 0) systemClock.pause(ms);
}

}  // namespace krgfx
