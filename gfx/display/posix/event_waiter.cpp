#include "gfx/display/posix/event_waiter.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace krgfx {

EventWaiter::EventWaiter() : wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventWaiter::~EventWaiter() {
  if (wakeFd_ >= 0) close(wakeFd_);
}

void EventWaiter::wait(int connection, int32_t timeoutMs) {
  pollfd watched[2] = {{connection, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  if (poll(watched, 2, timeoutMs) <= 0 || !(watched[1].revents & POLLIN)) return;
  uint64_t count;
  while (read(wakeFd_, &count, sizeof count) > 0) {
  }
}

void EventWaiter::wake() {
  if (wakeFd_ < 0) return;
  uint64_t one = 1;
  while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

}  // namespace krgfx
