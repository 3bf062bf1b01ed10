// A Windows program that opens and closes a screen many times, for the
// memory a cycle leaves behind. Run under Wine by the window tests:
//   screen_cycles CYCLES
// with the driver that KRGFX names. It opens a 320 by 200 screen, draws into
// it, lets the presenter show it and closes it, CYCLES times, and reports on
// standard output after the first cycle and after the last one:
//   "cycle <n> <private bytes> <working set bytes>"
// It ends with 0, or with 1 when a screen did not open.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "gfx/screen.h"
#include "support/screen_pixels.h"

using namespace krgfx;

namespace {

void reportMemory(int cycle) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  std::printf("cycle %d %llu %llu\n", cycle, static_cast<unsigned long long>(counters.PrivateUsage),
              static_cast<unsigned long long>(counters.WorkingSetSize));
  std::fflush(stdout);
}

bool oneCycle(int cycle) {
  if (openScreen(320, 200, 32, 1, 0, 0) != 0) return false;
  lockScreen();
  for (int32_t y = 0; y < gfxScreen->height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(screenPixels() +
                                            static_cast<ptrdiff_t>(y) * gfxScreen->pitch);
    for (int32_t x = 0; x < gfxScreen->width; ++x)
      row[x] = 0xFF000000u | static_cast<uint32_t>((x + y + cycle) & 0xFF);
  }
  unlockScreen(-1, -1);
  sleepMs(50, 1);  // a few presenter rounds
  closeScreen();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  int cycles = argc > 1 ? std::atoi(argv[1]) : 60;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    if (!oneCycle(cycle)) {
      std::printf("open failed\n");
      return 1;
    }
    if (cycle == 1 || cycle % 10 == 0 || cycle == cycles) reportMemory(cycle);
  }
  runtimeEnd(0);
}
