// One frame of the game's text on its 800x600x32 screen: clear, place the
// cursor, print the score line and the message line.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include <krgfx/gfx.h>
#include <krgfx/text.h>

using namespace krgfx;

namespace {

class GameScreen {
 public:
  GameScreen() { openScreen(800, 600, 32, 1, flagNoDisplay, 0); }
  ~GameScreen() { closeScreen(); }
};

void drawTextFrame(int32_t score, const char* message) {
  lockScreen();
  clearScreen(notGiven);
  placeCursor(2, 2, -1, 0, 0);
  writeText(0, "Zdobyles", 0);
  writeInt(0, score, 0);
  writeText(0, " punktow!", 1);
  placeCursor(3, 2, -1, 0, 0);
  writeText(0, message, 1);
  unlockScreen(-1, -1);
}

void BM_GameTextFrame(benchmark::State& state) {
  GameScreen screen;
  int32_t score = 0;
  for (auto _ : state) drawTextFrame(score++ % 201, "Musisz uzbierac dokladnie 100!");
}
BENCHMARK(BM_GameTextFrame)->Unit(benchmark::kMicrosecond);

// The text alone, without the clear that dominates the frame.
void BM_GameTextLinesOnly(benchmark::State& state) {
  GameScreen screen;
  int32_t score = 0;
  for (auto _ : state) {
    placeCursor(2, 2, -1, 0, 0);
    writeText(0, "Zdobyles", 0);
    writeInt(0, score++ % 201, 0);
    writeText(0, " punktow!", 1);
    placeCursor(3, 2, -1, 0, 0);
    writeText(0, "Przesadziles, co za duzo to niezdrowo! Idziesz do psychiatry.", 1);
  }
}
BENCHMARK(BM_GameTextLinesOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
