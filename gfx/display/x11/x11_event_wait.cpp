// The presenter's wait between rounds: poll() on the X connection and on an
// eventfd that the main thread signals, so that a quiet window costs no
// wake-ups and an event is handled as soon as it arrives.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

void X11WindowSystem::openWakeFd() { wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

void X11WindowSystem::closeWakeFd() {
  if (wakeFd_ >= 0) close(wakeFd_);
  wakeFd_ = -1;
}

// Only the connection's socket is looked at, never Xlib's state: this runs
// without the driver lock while the main thread may use the connection.
void X11WindowSystem::waitForEvents(int32_t timeoutMs) {
  if (wakeFd_ < 0 || dead_) return WindowSystem::waitForEvents(timeoutMs);
  pollfd watched[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  if (poll(watched, 2, timeoutMs) <= 0 || !(watched[1].revents & POLLIN)) return;
  uint64_t count;
  while (read(wakeFd_, &count, sizeof count) > 0) {
  }
}

void X11WindowSystem::wakeWaiter() {
  if (wakeFd_ < 0) return;
  uint64_t one = 1;
  while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

// Events Xlib has already read from the socket (say while waiting for a
// reply) do not wake poll(), and timers tick only when the presenter runs.
bool X11WindowSystem::quietUntilWoken() {
  return wakeFd_ >= 0 && !dead_ && timers_.empty() && !XEventsQueued(display_, QueuedAlready);
}

}  // namespace krgfx
