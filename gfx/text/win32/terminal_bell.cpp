// The bell without a window on Win32: Beep, which plays the tone (or the
// system's default sound) and returns when it is over.
#include <windows.h>

#include "gfx/text/bell.h"

namespace krgfx {

void terminalBell(int32_t frequency, int32_t durationMs) {
  if (frequency < 37 || frequency > 32767 || durationMs <= 0) return;  // outside Beep's range
  Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(durationMs));
}

}  // namespace krgfx
