// Transparent drawing against a plain memory copy and SDL2's colour-keyed
// blit on the same pixels: a full 800x600 32-bit picture with half of its
// pixels transparent, and a 32x32 sprite drawn 1000 times at scattered
// positions.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include "gfx/image/image_format.h"
#include "gfx/screen.h"

#ifdef KRGFX_HAVE_SDL2
#include <SDL2/SDL.h>
#endif

using namespace krgfx;

namespace {

constexpr int32_t screenWidth = 800, screenHeight = 600, sprite = 32, spriteDraws = 1000;

// Opaque colours with about half of the pixels transparent magenta.
std::vector<uint32_t> picture(int32_t width, int32_t height) {
  std::mt19937 random(1);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (uint32_t& pixel : pixels)
    pixel = (random() & 1) ? 0xFFFF00FF : 0xFF000000 | (random() & 0xFFFFFF);
  return pixels;
}

struct Position {
  int32_t x, y;
};

std::vector<Position> scatteredPositions() {
  std::mt19937 random(2);
  std::vector<Position> positions(spriteDraws);
  for (Position& at : positions)
    at = {static_cast<int32_t>(random() % (screenWidth - sprite)),
          static_cast<int32_t>(random() % (screenHeight - sprite))};
  return positions;
}

void* imageOf(const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
  void* image = createImage(width, height, 0, 32, 0);
  ImageLayout layout = readImageLayout(image, 4);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(layout.pixels + y * layout.pitch, &pixels[static_cast<size_t>(y) * width],
                width * 4);
  return image;
}

int32_t drawTransparent(void* image, int32_t x, int32_t y) {
  return drawImage(nullptr, static_cast<float>(x), static_cast<float>(y), image, notGiven, 0, 0, 0,
                   0, 0, transparentCopy, -1, nullptr, nullptr);
}

void transparentCopyFull(benchmark::State& state) {
  openScreen(screenWidth, screenHeight, 32, 1, flagNoDisplay, 0);
  void* image = imageOf(picture(screenWidth, screenHeight), screenWidth, screenHeight);
  for (auto _ : state) {
    drawTransparent(image, 0, 0);
    benchmark::DoNotOptimize(gfxScreen->pages[0][0]);
  }
  state.SetBytesProcessed(state.iterations() * screenWidth * screenHeight * 4);
  destroyImage(image);
  closeScreen();
}

void transparentCopySprites(benchmark::State& state) {
  openScreen(screenWidth, screenHeight, 32, 1, flagNoDisplay, 0);
  void* image = imageOf(picture(sprite, sprite), sprite, sprite);
  std::vector<Position> positions = scatteredPositions();
  for (auto _ : state) {
    for (const Position& at : positions) drawTransparent(image, at.x, at.y);
    benchmark::DoNotOptimize(gfxScreen->pages[0][0]);
  }
  state.SetItemsProcessed(state.iterations() * spriteDraws);
  destroyImage(image);
  closeScreen();
}

void memcpyFull(benchmark::State& state) {
  std::vector<uint32_t> source = picture(screenWidth, screenHeight), target(source.size());
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size() * 4);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * screenWidth * screenHeight * 4);
}

#ifdef KRGFX_HAVE_SDL2
SDL_Surface* surfaceOf(std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
  return SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                            SDL_PIXELFORMAT_ARGB8888);
}

void sdlColourKey(benchmark::State& state, int32_t size, bool scattered) {
  std::vector<uint32_t> pixels = scattered ? picture(sprite, sprite) : picture(size, size);
  int32_t width = scattered ? sprite : screenWidth, height = scattered ? sprite : screenHeight;
  if (!scattered) pixels = picture(screenWidth, screenHeight);
  std::vector<uint32_t> screen(static_cast<size_t>(screenWidth) * screenHeight, 0xFF000000);
  SDL_Surface* source = surfaceOf(pixels, width, height);
  SDL_Surface* target = surfaceOf(screen, screenWidth, screenHeight);
  SDL_SetColorKey(source, SDL_TRUE, 0xFFFF00FF);
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  std::vector<Position> positions = scattered ? scatteredPositions()
                                              : std::vector<Position>{Position{0, 0}};
  for (auto _ : state) {
    for (const Position& at : positions) {
      SDL_Rect place{at.x, at.y, width, height};
      SDL_BlitSurface(source, nullptr, target, &place);
    }
    benchmark::DoNotOptimize(screen.data());
  }
  if (scattered)
    state.SetItemsProcessed(state.iterations() * spriteDraws);
  else
    state.SetBytesProcessed(state.iterations() * screenWidth * screenHeight * 4);
  SDL_FreeSurface(source);
  SDL_FreeSurface(target);
}
#endif

void registerAll() {
  benchmark::RegisterBenchmark("BM_TransparentCopy/800x600", transparentCopyFull);
  benchmark::RegisterBenchmark("BM_TransparentCopy/32x32x1000", transparentCopySprites);
  benchmark::RegisterBenchmark("BM_Memcpy/800x600", memcpyFull);
#ifdef KRGFX_HAVE_SDL2
  benchmark::RegisterBenchmark("BM_SDLColorKey/800x600",
                               [](benchmark::State& state) { sdlColourKey(state, 0, false); });
  benchmark::RegisterBenchmark("BM_SDLColorKey/32x32x1000",
                               [](benchmark::State& state) { sdlColourKey(state, 0, true); });
#endif
}

}  // namespace

int main(int argc, char** argv) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
