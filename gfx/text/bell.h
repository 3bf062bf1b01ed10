// The platform bell that BEL in printed text rings. The window layer points
// it at its own bell while a window is up; without one the terminal rings.
#pragma once

#include <atomic>
#include <cstdint>

namespace krgfx {

using BellRoutine = void (*)(int32_t frequency, int32_t durationMs);

extern std::atomic<BellRoutine> platformBell;

// The default without a window: "\a" to the terminal, when there is one, on
// POSIX systems; Beep with the frequency and duration on Win32.
void terminalBell(int32_t frequency, int32_t durationMs);

// The bell of BEL: 1000 Hz for 250 ms.
void ringBell();

}  // namespace krgfx
