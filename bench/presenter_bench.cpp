// CPU time the presenter thread spends per second of wall time, on the X
// display in $DISPLAY (e.g. Xvfb), for the "DirectX" (MIT-SHM) and "GDI"
// (XPutImage) drivers: with nothing drawn, and with the whole 800x600x32
// frame changed 20 times a second.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include <krgfx/gfx.h>
#include "gfx/display/display_driver.h"
#include "gfx/screen.h"

using namespace krgfx;

namespace {

const char* const driverNames[] = {"DirectX", "GDI"};

// Nanoseconds of CPU the presenter thread has used so far, -1 without one.
int64_t presenterCpuNanoseconds() {
  int64_t total = -1;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      std::string task = std::string("/proc/self/task/") + entry->d_name;
      std::ifstream comm(task + "/comm");
      std::string name;
      std::getline(comm, name);
      if (name != "krgfx-presenter") continue;
      std::ifstream schedstat(task + "/schedstat");
      schedstat >> total;  // first field: time on the CPU in nanoseconds
    }
    closedir(tasks);
  }
  return total;
}

void changeWholeFrame(uint32_t colour) {
  lockScreen();
  GfxScreen& screen = *gfxScreen;
  auto* pixels = reinterpret_cast<uint32_t*>(screen.visibleFramebuffer);
  std::fill_n(pixels, static_cast<size_t>(screen.width) * screen.height, colour);
  unlockScreen(-1, -1);
}

// One iteration is one second of wall time.
void presenterCpuPerSecond(benchmark::State& state) {
  const char* driver = driverNames[state.range(0)];
  int64_t framesPerSecond = state.range(1);
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("no X display");
    return;
  }
  setenv("KRGFX", driver, 1);
  if (openScreen(800, 600, 32, 1, 0, 0) != 0 || std::string(gfxScreen->driver->name) != driver) {
    state.SkipWithError("the driver does not start on this display");
    closeScreen();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // window up and shown
  double cpuMilliseconds = 0;
  for (auto _ : state) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    int64_t cpuStart = presenterCpuNanoseconds();
    for (int64_t frame = 0; framesPerSecond > 0 && frame < framesPerSecond; ++frame) {
      changeWholeFrame(0xFF000000u | static_cast<uint32_t>(frame * 0x0A0B0C));
      std::this_thread::sleep_until(
          start + std::chrono::milliseconds(1000 * (frame + 1) / framesPerSecond));
    }
    std::this_thread::sleep_until(start + std::chrono::seconds(1));
    cpuMilliseconds += static_cast<double>(presenterCpuNanoseconds() - cpuStart) / 1e6;
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.counters["presenterCpuMsPerSecond"] = cpuMilliseconds /
                                              static_cast<double>(state.iterations());
  closeScreen();
}

}  // namespace

BENCHMARK(presenterCpuPerSecond)
    ->ArgNames({"driver", "framesPerSecond"})
    ->ArgsProduct({{0, 1}, {0, 20}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
