// The ring of button presses, releases and double-clicks with their
// positions, which the window procedure fills so that a program polling
// less often than it clicks still sees every click.
#pragma once

#include <cstdint>

namespace krgfx {

struct MouseClick {
  int32_t kind;    // mouseClickPress, mouseClickRelease or mouseClickDouble
  int32_t button;  // one button bit
  int32_t x, y;    // client position when it happened
};

// 31 clicks are kept (one slot stays free); a new click into a full ring
// drops the oldest.
constexpr int32_t mouseClickRingSize = 32;

struct MouseClickRing {
  MouseClick clicks[mouseClickRingSize];
  int32_t readIndex;
  int32_t writeIndex;
};

// Called under the driver lock: by the window procedure, and by the program
// through pollMouseClick.
void recordMouseClick(MouseClickRing& ring, const MouseClick& click);
// The oldest click, removed; false when there is none.
bool takeMouseClick(MouseClickRing& ring, MouseClick* click);
void clearMouseClicks(MouseClickRing& ring);

}  // namespace krgfx
