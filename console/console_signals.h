// The console's control handler: closing the terminal or console window,
// a termination request, logoff and shutdown (SIGHUP and SIGTERM on POSIX
// systems; the close, logoff and shutdown events on Win32) become
// windowCloseKey once the console has polled its input. Ctrl+C keeps the
// system's default.
#pragma once

#include <cstdint>

namespace krgfx {

// Installs the handler the first time; later calls do nothing.
void installControlHandler();
// Puts the previous dispositions back.
void removeControlHandler();
// How many close requests arrived since the last call.
int32_t takeCloseRequests();

}  // namespace krgfx
