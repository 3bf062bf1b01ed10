// The console's control handler on Win32: closing the console window,
// logging off and shutting down are close requests; Ctrl+C and Ctrl+Break
// keep the system's default (the process ends).
#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "console/console_signals.h"
#include "console/console_terminal.h"

namespace krgfx {

namespace {

// Raised on the system's handler thread, taken by the console's next poll.
std::atomic<int32_t> closeRequests{0};
bool installed = false;

// After the handler returns for these events the system ends the process:
// wait (at most the few seconds the system grants) so the program can take
// the request and end by itself.
constexpr int32_t graceMs = 4000;

BOOL WINAPI onControlEvent(DWORD event) {
  if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT) {
    restoreTerminal();  // the console gets its modes back before the default ends us
    return FALSE;
  }
  closeRequests.fetch_add(1, std::memory_order_relaxed);
  for (int32_t waited = 0; waited < graceMs; waited += 50) Sleep(50);
  return TRUE;
}

}  // namespace

void installControlHandler() {
  if (installed) return;
  installed = true;
  static bool removalRegistered = false;
  if (!removalRegistered) {
    removalRegistered = true;
    std::atexit(removeControlHandler);
  }
  SetConsoleCtrlHandler(onControlEvent, TRUE);
}

void removeControlHandler() {
  if (!installed) return;
  installed = false;
  SetConsoleCtrlHandler(onControlEvent, FALSE);
}

int32_t takeCloseRequests() { return closeRequests.exchange(0, std::memory_order_relaxed); }

}  // namespace krgfx
