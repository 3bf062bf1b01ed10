// Reading the compositor's events without blocking and delivering the
// messages they made, in order, then key repeats and timers. A connection
// that failed (compositor gone, protocol error) reports the window
// destroyed once.
#include <poll.h>

#include <cerrno>

#include "gfx/display/wayland/wayland_connection.h"

namespace krgfx {

namespace {

// Reads what the compositor sent, if anything, and runs the callbacks;
// false when the connection failed.
bool readEvents(wl_display* display) {
  while (wl_display_prepare_read(display) != 0)
    if (wl_display_dispatch_pending(display) < 0) return false;
  if (wl_display_flush(display) < 0 && errno != EAGAIN) {
    wl_display_cancel_read(display);
    return false;
  }
  pollfd waiting{wl_display_get_fd(display), POLLIN, 0};
  if (poll(&waiting, 1, 0) > 0) {
    if (wl_display_read_events(display) < 0) return false;
  } else {
    wl_display_cancel_read(display);
  }
  return wl_display_dispatch_pending(display) >= 0;
}

}  // namespace

void WaylandWindowSystem::dispatchMessages(void (*procedure)(const WindowMessage& message)) {
  std::vector<WindowMessage> messages;
  if (!dead_ && !readEvents(display_)) noteLost();
  messages.swap(pending_);
  if (!dead_) {
    repeatHeldKey(messages);
    timers_.appendDue(messages);
  }
  if (dead_ && !deathReported_) {
    deathReported_ = true;
    messages.push_back(windowMessage(MessageKind::destroyed));
  }
  for (const WindowMessage& each : messages) procedure(each);
}

// Only the socket is looked at: this runs without the driver lock.
void WaylandWindowSystem::waitForEvents(int32_t timeoutMs) {
  if (!waiter_.ready() || dead_) return WindowSystem::waitForEvents(timeoutMs);
  waiter_.wait(wl_display_get_fd(display_), timeoutMs);
}

// Nothing to do until an event comes or the program wakes the presenter: no
// message or event already read waits, no timer runs and no key repeats.
bool WaylandWindowSystem::quietUntilWoken() {
  if (!waiter_.ready() || dead_ || !pending_.empty() || !timers_.empty() || repeatKey_)
    return false;
  if (wl_display_prepare_read(display_) != 0) return false;  // events queued
  wl_display_cancel_read(display_);
  return true;
}

}  // namespace krgfx
