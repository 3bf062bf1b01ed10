// The real clock on Win32: Sleep, the performance counter and the tick count.
#include <windows.h>

#include "input/system_clock.h"

namespace krgfx {

namespace {

void win32Pause(int32_t ms) { Sleep(static_cast<DWORD>(ms)); }

bool performanceFrequency(int64_t* perSecond) {
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency)) return false;
  *perSecond = frequency.QuadPart;
  return true;
}

int64_t performanceCounter() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

uint32_t win32TickCount() { return GetTickCount(); }

}  // namespace

const SystemClock realSystemClock = {
    .pause = win32Pause,
    .counterFrequency = performanceFrequency,
    .counter = performanceCounter,
    .tickCount = win32TickCount,
};

}  // namespace krgfx
