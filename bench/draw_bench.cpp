// Drawing against the plain memory operations and SDL2 on the same pixels:
// a filled 800x600 box against a fill of the bytes and SDL_FillRect, a flood
// fill of the open screen against the same, 1000 lines and 1000 circle
// outlines, and a whole palette turned on an 8-bit screen against
// SDL_SetPaletteColors.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include <krgfx/draw.h>
#include <krgfx/gfx.h>

#ifdef KRGFX_HAVE_SDL2
#include <SDL2/SDL.h>
#endif

using namespace krgfx;

namespace {

constexpr int32_t width = 800, height = 600;

void openBenchScreen(int32_t depth) { openScreen(width, height, depth, 1, flagNoDisplay, 0); }

void FilledBox(benchmark::State& state) {
  openBenchScreen(32);
  for (auto _ : state) drawLine(nullptr, 0, 0, width - 1, height - 1, 0xFF204080, shapeFilledBox);
  state.SetBytesProcessed(state.iterations() * width * height * 4);
  closeScreen();
}

void FillBytes(benchmark::State& state) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.end(), 0xFF204080u);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * width * height * 4);
}

void FloodFillOpenScreen(benchmark::State& state) {
  openBenchScreen(32);
  uint32_t colours[2] = {0xFF204080, 0xFF802040};
  int64_t round = 0;
  for (auto _ : state) floodFill(nullptr, 400, 300, colours[round++ & 1], 0, 0, fillOverColour);
  state.SetBytesProcessed(state.iterations() * width * height * 4);
  closeScreen();
}

template <typename Draw>
void scattered(benchmark::State& state, Draw draw) {
  openBenchScreen(32);
  std::mt19937 random(3);
  std::vector<float> points(4000);
  for (float& p : points) p = static_cast<float>(random() % width);
  for (auto _ : state)
    for (size_t i = 0; i < points.size(); i += 4) draw(&points[i]);
  state.SetItemsProcessed(state.iterations() * 1000);
  closeScreen();
}

void Lines(benchmark::State& state) {
  scattered(state, [](const float* p) { drawLine(nullptr, p[0], p[1], p[2], p[3], 0xFFFFFFFF); });
}

void CircleOutlines(benchmark::State& state) {
  scattered(state, [](const float* p) { drawCircle(nullptr, p[0], p[1], p[2] / 8, 0xFFFFFFFF); });
}

void TurnPalette(benchmark::State& state) {
  openBenchScreen(8);
  uint32_t colours[256];
  int32_t phase = 0;
  for (auto _ : state) {
    for (int32_t i = 0; i < 256; ++i) colours[i] = static_cast<uint32_t>((i + phase) * 0x010101);
    setPalette(colours, 0, 256);
    ++phase;
  }
  closeScreen();
}

#ifdef KRGFX_HAVE_SDL2
SDL_Surface* sdlSurface(int32_t depth) {
  return SDL_CreateRGBSurfaceWithFormat(
      0, width, height, depth, depth == 8 ? SDL_PIXELFORMAT_INDEX8 : SDL_PIXELFORMAT_ARGB8888);
}

void SdlFillRect(benchmark::State& state) {
  SDL_Surface* surface = sdlSurface(32);
  for (auto _ : state) SDL_FillRect(surface, nullptr, 0xFF204080);
  state.SetBytesProcessed(state.iterations() * width * height * 4);
  SDL_FreeSurface(surface);
}

void SdlSetPaletteColors(benchmark::State& state) {
  SDL_Surface* surface = sdlSurface(8);
  SDL_Color colours[256];
  int32_t phase = 0;
  for (auto _ : state) {
    for (int32_t i = 0; i < 256; ++i) {
      auto grey = static_cast<Uint8>(i + phase);
      colours[i] = {grey, grey, grey, 255};
    }
    SDL_SetPaletteColors(surface->format->palette, colours, 0, 256);
    ++phase;
  }
  SDL_FreeSurface(surface);
}

BENCHMARK(SdlFillRect);
BENCHMARK(SdlSetPaletteColors);
#endif

BENCHMARK(FilledBox);
BENCHMARK(FillBytes);
BENCHMARK(FloodFillOpenScreen);
BENCHMARK(Lines);
BENCHMARK(CircleOutlines);
BENCHMARK(TurnPalette);

}  // namespace

BENCHMARK_MAIN();
