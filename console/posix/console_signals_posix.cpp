// The console's control handler on POSIX systems: SIGHUP and SIGTERM, while
// their disposition is the default, count close requests.
#include "console/console_signals.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace krgfx {

namespace {

// Raised from a signal handler, taken by the console's next poll: the key
// ring itself is never touched from the handler.
std::atomic<int32_t> closeRequests{0};
static_assert(std::atomic<int32_t>::is_always_lock_free);

constexpr int closeSignals[] = {SIGHUP, SIGTERM};
struct sigaction previousActions[2];
bool replaced[2];
bool installed = false;

void onCloseRequest(int) { closeRequests.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

void installControlHandler() {
  if (installed) return;
  installed = true;
  static bool removalRegistered = false;
  if (!removalRegistered) {
    removalRegistered = true;
    std::atexit(removeControlHandler);
  }
  for (int index = 0; index < 2; ++index) {
    struct sigaction current {};
    sigaction(closeSignals[index], nullptr, &current);
    // A disposition the program chose (or SIG_IGN inherited, as under nohup)
    // stays as it is.
    replaced[index] = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
    if (!replaced[index]) continue;
    previousActions[index] = current;
    struct sigaction handler {};
    handler.sa_handler = onCloseRequest;
    handler.sa_flags = SA_RESTART;
    sigemptyset(&handler.sa_mask);
    sigaction(closeSignals[index], &handler, nullptr);
  }
}

void removeControlHandler() {
  if (!installed) return;
  installed = false;
  for (int index = 0; index < 2; ++index) {
    if (replaced[index]) sigaction(closeSignals[index], &previousActions[index], nullptr);
    replaced[index] = false;
  }
}

int32_t takeCloseRequests() { return closeRequests.exchange(0, std::memory_order_relaxed); }

}  // namespace krgfx
