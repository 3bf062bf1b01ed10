// waitFrame: a steady frame rate measured from the due time of the last
// frame, not from when the program came back.
#include <cmath>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "input/system_clock.h"
#include "runtime/runtime_contexts.h"

namespace krgfx {

namespace {

struct FramePace {
  int32_t framesPerSecond;  // the pace set, 0 before the first frame
  double nextFrame;         // when the next frame is due, in clockSeconds
};

constexpr int32_t fastestPace = 1000;

}  // namespace

int32_t waitFrame(int32_t framesPerSecond) {
  if (framesPerSecond < 1 || framesPerSecond > fastestPace) return setRuntimeError(errBadCall);
  FramePace& pace = runtimeContext<FramePace>(contextFramePace);
  double period = 1.0 / framesPerSecond;
  double now = clockSeconds();
  double due = pace.nextFrame + period;
  // Late by less than a frame: no wait now, and the next frame is on time.
  bool fresh = pace.framesPerSecond != framesPerSecond || now > due + period;
  pace.framesPerSecond = framesPerSecond;
  pace.nextFrame = fresh ? now + period : due;
  double remaining = pace.nextFrame - now;
  if (remaining > 0) systemClock.pause(static_cast<int32_t>(std::ceil(remaining * 1000 - 1e-9)));
  return setRuntimeError(0);
}

}  // namespace krgfx
