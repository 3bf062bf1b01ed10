// Showing an 800x600 frame twice as large (1600x1200), every row dirty: the
// scaled Blitters for the game's 32-bit screen and for an 8-bit screen on a
// 32-bit display, beside a memcpy of the same destination bytes and, where
// SDL2 is installed, SDL_BlitScaled (nearest) between surfaces of the same
// formats. Times are CPU times: the machine may be shared.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include <krgfx/gfx.h>
#include "bench/memcpy_reference.h"
#include "gfx/display/blitter.h"
#include "gfx/screen.h"

#ifdef KRGFX_HAVE_SDL2
#include <SDL.h>
#endif

using namespace krgfx;

namespace {

constexpr int32_t frameWidth = 800;
constexpr int32_t frameHeight = 600;
constexpr int32_t scale = 2;
constexpr int32_t shownPitch = frameWidth * scale * 4;
constexpr size_t shownBytes = size_t{shownPitch} * frameHeight * scale;  // 7,680,000

// A null screen of that depth with random pixels and palette, every row dirty.
GfxScreen& openFrame(int32_t depth) {
  openScreen(frameWidth, frameHeight, depth, 1, flagNoDisplay, 0);
  GfxScreen& screen = *gfxScreen;
  std::mt19937 random(7);
  for (int32_t i = 0; i < screen.pitch * screen.height; ++i)
    screen.visibleFramebuffer[i] = static_cast<uint8_t>(random());
  for (uint32_t& colour : screen.devicePalette) colour = random() & 0xFFFFFF;
  std::memset(screen.dirtyLines, 1, screen.height);
  return screen;
}

// A display surface starts on a page (a shared-memory image does).
struct Shown {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(shownBytes + 4096);
  uint8_t* data() {
    auto at = reinterpret_cast<uintptr_t>(bytes.data());
    return bytes.data() + ((4096 - at % 4096) % 4096);
  }
};

void scaledBench(benchmark::State& state, int32_t depth) {
  openFrame(depth);
  ScaledBlitter blitter = chooseScaledBlitter(32, 0);
  if (!blitter) return state.SkipWithError("no scaled Blitter");
  Shown shown;
  for (auto _ : state) {
    blitter(shown.data(), shownPitch, scale);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(shownBytes));
}

void memcpyBench(benchmark::State& state) { memcpyOf(state, shownBytes); }

#ifdef KRGFX_HAVE_SDL2

// The framebuffer's format onto the display's: ARGB8888 to ARGB8888 (a
// 32-bit display of the framebuffer's order takes its words unchanged) in
// one scaled blit. SDL scales no palette surface: an 8-bit frame is blitted
// to XRGB8888 first (SDL_BlitSurface) and that is scaled.
void sdlScaledBench(benchmark::State& state, int32_t depth) {
  const GfxScreen& screen = openFrame(depth);
  Shown shown;
  uint32_t fromFormat = depth == 32 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_INDEX8;
  uint32_t toFormat = depth == 32 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888;
  SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(
      screen.visibleFramebuffer, frameWidth, frameHeight, depth, screen.pitch, fromFormat);
  SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(
      shown.data(), frameWidth * scale, frameHeight * scale, 32, shownPitch, toFormat);
  SDL_Surface* between = depth == 8 ? SDL_CreateRGBSurfaceWithFormat(0, frameWidth, frameHeight, 32,
                                                                     toFormat)
                                    : nullptr;
  if (!from || !to || (depth == 8 && !between)) return state.SkipWithError(SDL_GetError());
  if (depth == 8) {
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
      uint32_t p = screen.devicePalette[i];
      colours[i] = {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), 255};
    }
    SDL_SetPaletteColors(from->format->palette, colours, 0, 256);
    SDL_SetSurfaceBlendMode(between, SDL_BLENDMODE_NONE);
  }
  SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
  SDL_Rect whole{0, 0, frameWidth * scale, frameHeight * scale};
  for (auto _ : state) {
    bool done = depth == 8 ? SDL_BlitSurface(from, nullptr, between, nullptr) == 0 &&
                                 SDL_BlitScaled(between, nullptr, to, &whole) == 0
                           : SDL_BlitScaled(from, nullptr, to, &whole) == 0;
    if (!done) return state.SkipWithError(SDL_GetError());
    benchmark::ClobberMemory();
  }
  // The same picture as the scaled Blitter's, or the comparison is void.
  Shown own;
  chooseScaledBlitter(32, 0)(own.data(), shownPitch, scale);
  bool same = true;
  for (size_t at = 0; at < shownBytes && same; at += 4) {
    uint32_t a, b;
    std::memcpy(&a, own.data() + at, 4);
    std::memcpy(&b, shown.data() + at, 4);
    same = depth == 32 ? a == b : ((a ^ b) & 0xFFFFFF) == 0;
  }
  state.SetLabel(same ? "same pixels" : "other pixels");
  if (between) SDL_FreeSurface(between);
  SDL_FreeSurface(to);
  SDL_FreeSurface(from);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(shownBytes));
}

#endif

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_MemcpyOfTheShownBytes", memcpyBench);
  benchmark::RegisterBenchmark("BM_Scaled/32to32/x2", scaledBench, 32);
  benchmark::RegisterBenchmark("BM_Scaled/8to32/x2", scaledBench, 8);
#ifdef KRGFX_HAVE_SDL2
  benchmark::RegisterBenchmark("BM_SDLBlitScaled/32to32/x2", sdlScaledBench, 32);
  benchmark::RegisterBenchmark("BM_SDLBlitScaled/8to32/x2", sdlScaledBench, 8);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  closeScreen();
  return 0;
}
