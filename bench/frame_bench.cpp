// One whole frame of the game on its 800x600 32-bit screen: clear, score
// text, sprite, unlock, then one round of the "DirectX" presenter (the rows
// copied into the window system's surface and presented, keyState refreshed,
// messages pumped) over a window system that shows nothing. The presenter
// thread waits meanwhile: the benchmark holds one level of the screen lock,
// so the frame's own unlock leaves the driver's lock taken. Then the same on
// the real display.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include <krgfx/gfx.h>
#include "game/game_frame.h"
#include "game/sprite_set.h"
#include "gfx/display/window_layer.h"
#include "scripted_window_system.h"

using namespace krgfx;

namespace {

// Presents without recording what it showed.
class SilentWindowSystem : public ScriptedWindowSystem {
 public:
  bool presentRows(int32_t first, int32_t last) override { return hasWindow() && first <= last; }
  bool presentPixels(const uint8_t* pixels, int32_t, int32_t first, int32_t last) override {
    return hasWindow() && pixels && first <= last;
  }
};

// Frames of the open screen, each presented by one round on this thread;
// then the screen closes.
void playFrames(benchmark::State& state) {
  SpriteSet sprites;
  sprites.load("2.spr");
  int32_t score = 0;
  lockScreen();  // keeps the presenter thread out
  for (auto _ : state) {
    drawGameFrame(sprites, score, 320, 240, 1);
    if (!presentRound()) state.SkipWithError("the presenter stopped");
  }
  unlockScreen(1, 0);
  sprites.releaseImages();
  closeScreen();
}

void gameFrame(benchmark::State& state) {
  SilentWindowSystem system;
  useScriptedWindowSystem(system);
  setenv("KRGFX", "DirectX", 1);
  if (openScreen(800, 600, 32, 1, 0, 0) != 0 || !windowLayer.system) {
    restoreWindowSystemProvider();
    return state.SkipWithError("the DirectX driver did not start");
  }
  playFrames(state);
  restoreWindowSystemProvider();
}

// The same frame shown by the platform's window system (Wayland or X11, as
// the environment chooses), both drivers: what presenting the whole picture
// costs on a real display. Skipped without one.
void gameFrameOnDisplay(benchmark::State& state, const char* driver) {
  setenv("KRGFX", driver, 1);
  if (openScreen(800, 600, 32, 1, 0, 0) != 0 || !windowLayer.system)
    return state.SkipWithError("no display to open a window on");
  playFrames(state);
}

}  // namespace

BENCHMARK(gameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(gameFrameOnDisplay, DirectX, "DirectX")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(gameFrameOnDisplay, GDI, "GDI")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  std::filesystem::current_path(KRGFX_ASSETS_DIR);  // the game's sprite set
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
