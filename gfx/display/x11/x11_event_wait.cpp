// The presenter's wait between rounds: on the X connection and the waiter's
// eventfd (gfx/display/posix/event_waiter.h).
#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

void X11WindowSystem::waitForEvents(int32_t timeoutMs) {
  if (!waiter_.ready() || dead_) return WindowSystem::waitForEvents(timeoutMs);
  waiter_.wait(ConnectionNumber(display_), timeoutMs);
}

void X11WindowSystem::wakeWaiter() { waiter_.wake(); }

// Events Xlib has already read from the socket (say while waiting for a
// reply) do not wake poll(), and timers tick only when the presenter runs.
bool X11WindowSystem::quietUntilWoken() {
  return waiter_.ready() && !dead_ && timers_.empty() && !XEventsQueued(display_, QueuedAlready);
}

}  // namespace krgfx
