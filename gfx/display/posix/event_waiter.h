// The presenter's wait between rounds on a POSIX window system: poll() on the
// display connection's socket and on an eventfd that another thread signals,
// so that a quiet window costs no wake-ups and an event is handled as soon as
// it arrives. Only the socket is looked at, never the connection library's
// state: the wait runs without the driver lock.
#pragma once

#include <cstdint>

namespace krgfx {

class EventWaiter {
 public:
  EventWaiter();
  ~EventWaiter();
  EventWaiter(const EventWaiter&) = delete;
  EventWaiter& operator=(const EventWaiter&) = delete;

  // False when no eventfd could be made: the window system then sleeps.
  bool ready() const { return wakeFd_ >= 0; }
  // Up to timeoutMs, returning early when `connection` can be read or wake
  // is called.
  void wait(int connection, int32_t timeoutMs);
  void wake();

 private:
  int wakeFd_ = -1;
};

}  // namespace krgfx
