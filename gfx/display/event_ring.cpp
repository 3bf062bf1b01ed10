// The screen's ring of window events, guarded by its own semaphore.
#include "gfx/display/event_ring.h"

namespace krgfx {

void queueEvent(const ScreenEvent& event) {
  GfxScreen* screen = gfxScreen;
  if (!screen) return;
  screen->eventLock.acquire();
  screen->events[screen->eventTail] = event;
  screen->eventTail = (screen->eventTail + 1) & (eventRingSize - 1);
  if (screen->eventTail == screen->eventHead)
    screen->eventHead = (screen->eventHead + 1) & (eventRingSize - 1);
  screen->eventLock.release();
}

}  // namespace krgfx
