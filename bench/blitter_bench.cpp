// Showing an 800x600 frame with every row dirty: each Blitter the presenter
// may need for the game's 32-bit screen, for 16-bit screens on a 32-bit
// display and for 8 and 4-bit palette screens on every display, beside a
// plain copy of the display's bytes and, where SDL2 is installed, SDL doing
// the same conversion.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <krgfx/gfx.h>
#include "bench/memcpy_reference.h"
#include "gfx/cpu_features.h"
#include "gfx/display/blitter.h"
#include "gfx/screen.h"

#ifdef KRGFX_HAVE_SDL2
#include <SDL.h>
#endif

using namespace krgfx;

namespace {

constexpr int32_t frameWidth = 800;
constexpr int32_t frameHeight = 600;

struct Conversion {
  int32_t screenDepth;
  int32_t displayDepth;
  int32_t rgbOrder;
  std::string name() const {
    return std::to_string(screenDepth) + "to" + std::to_string(displayDepth) + "/order" +
           std::to_string(rgbOrder);
  }
};

int32_t displayBytes(int32_t displayDepth) {
  return displayDepth == 24 ? 3 : displayDepth == 32 ? 4 : 2;
}

// The bits of a display pixel that appear on the display.
uint32_t shownBits(int32_t displayDepth) {
  return displayDepth == 15 ? 0x7FFF : displayDepth == 16 ? 0xFFFF : 0xFFFFFF;
}

// A null screen of the conversion's depth with random pixels (of the
// screen's colours) and palette, every row dirty.
GfxScreen& openFrame(int32_t screenDepth) {
  openScreen(frameWidth, frameHeight, screenDepth, 1, flagNoDisplay, 0);
  GfxScreen& screen = *gfxScreen;
  std::mt19937 random(7);
  const uint32_t byteMask = screenDepth < 8 ? screen.colorMask : 0xFF;
  for (int32_t i = 0; i < screen.pitch * screen.height; ++i)
    screen.visibleFramebuffer[i] = static_cast<uint8_t>(random() & byteMask);
  for (uint32_t& colour : screen.devicePalette) colour = random() & 0xFFFFFF;
  std::memset(screen.dirtyLines, 1, screen.height);
  return screen;
}

struct Surface {
  int32_t pitch;
  std::vector<uint8_t> bytes;
  explicit Surface(int32_t displayDepth)
      : pitch(frameWidth * displayBytes(displayDepth)), bytes(size_t(pitch) * frameHeight) {}
};

// Which half of the table the Blitter comes from; the copy is in both.
const char* kindOf(Blitter blitter) {
  if (blitter == copyBlitter) return "copy";
  const BlitterTable& table = blitterTable();
  return std::find(table.begin() + 24, table.end(), blitter) != table.end() ? "vector" : "plain";
}

void blitterBench(benchmark::State& state, Conversion conversion) {
  const GfxScreen& screen = openFrame(conversion.screenDepth);
  Blitter blitter = chooseBlitter(conversion.displayDepth, conversion.rgbOrder);
  if (!blitter) return state.SkipWithError("no Blitter for this display");
  Surface surface(conversion.displayDepth);
  for (auto _ : state) {
    blitter(surface.bytes.data(), surface.pitch);
    benchmark::ClobberMemory();
  }
  state.SetLabel(kindOf(blitter));
  state.SetBytesProcessed(int64_t(state.iterations()) * screen.pitch * screen.height);
}

// The same with the vector level held at AVX2: on a processor with AVX-512
// VBMI, what the palette conversions cost without its byte permutes.
void avx2Bench(benchmark::State& state, Conversion conversion) {
  overrideVectorLevel(VectorLevel::avx2);
  blitterBench(state, conversion);
  clearVectorLevelOverride();
}

// A copy of one frame of a display's bytes (the argument: bytes per pixel).
void memcpyBench(benchmark::State& state) {
  memcpyOf(state, size_t{frameWidth} * frameHeight * size_t(state.range(0)));
}

#ifdef KRGFX_HAVE_SDL2

uint32_t sdlScreenFormat(const Conversion& c) {
  return c.screenDepth == 32   ? SDL_PIXELFORMAT_ARGB8888
         : c.screenDepth == 16 ? SDL_PIXELFORMAT_RGB565
                               : SDL_PIXELFORMAT_INDEX8;
}

// The display's own format. (For a 32-bit display with blue low that is
// XRGB8888: asked for the framebuffer's ARGB8888 instead, SDL only copies.)
uint32_t sdlDisplayFormat(const Conversion& c) {
  bool redLow = c.rgbOrder != 0;
  switch (c.displayDepth) {
    case 15:
      return redLow ? SDL_PIXELFORMAT_BGR555 : SDL_PIXELFORMAT_RGB555;
    case 16:
      return redLow ? SDL_PIXELFORMAT_BGR565 : SDL_PIXELFORMAT_RGB565;
    case 24:
      return redLow ? SDL_PIXELFORMAT_RGB24 : SDL_PIXELFORMAT_BGR24;  // byte order
    default:
      return redLow ? SDL_PIXELFORMAT_BGR888 : SDL_PIXELFORMAT_RGB888;  // 0x00BBGGRR, 0x00RRGGBB
  }
}

// "same pixels" when SDL's output equals the Blitter's in every bit that the
// display shows, else "other rounding" (SDL widens 5-6-5 channels by
// repeating their top bits).
std::string compareWithBlitter(const Conversion& c, const Surface& sdl) {
  Surface own(c.displayDepth);
  chooseBlitter(c.displayDepth, c.rgbOrder)(own.bytes.data(), own.pitch);
  const int32_t bytes = displayBytes(c.displayDepth);
  const uint32_t mask = shownBits(c.displayDepth);
  for (size_t at = 0; at < own.bytes.size(); at += bytes) {
    uint32_t a = 0, b = 0;
    std::memcpy(&a, &own.bytes[at], bytes);
    std::memcpy(&b, &sdl.bytes[at], bytes);
    if ((a ^ b) & mask) return "other rounding";
  }
  return "same pixels";
}

// SDL keeps a 4-bit frame two pixels to a byte, the first in the high half.
std::vector<uint8_t> packNibbles(const GfxScreen& screen) {
  std::vector<uint8_t> packed(size_t(screen.pitch / 2) * screen.height);
  for (size_t i = 0; i < packed.size(); ++i)
    packed[i] = uint8_t(screen.visibleFramebuffer[2 * i] << 4 |
                        screen.visibleFramebuffer[2 * i + 1]);
  return packed;
}

// SDL_ConvertPixels takes no palette formats; a palette frame goes through
// SDL's surface blit instead.
void sdlPaletteBench(benchmark::State& state, const Conversion& c, const GfxScreen& screen,
                     Surface& surface) {
  const bool nibbles = c.screenDepth == 4;
  std::vector<uint8_t> packed = nibbles ? packNibbles(screen) : std::vector<uint8_t>();
  SDL_Surface* from = nibbles ? SDL_CreateRGBSurfaceWithFormatFrom(packed.data(), frameWidth,
                                                                   frameHeight, 4, screen.pitch / 2,
                                                                   SDL_PIXELFORMAT_INDEX4MSB)
                              : SDL_CreateRGBSurfaceWithFormatFrom(
                                    screen.visibleFramebuffer, frameWidth, frameHeight, 8,
                                    screen.pitch, SDL_PIXELFORMAT_INDEX8);
  SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(
      surface.bytes.data(), frameWidth, frameHeight, SDL_BITSPERPIXEL(sdlDisplayFormat(c)),
      surface.pitch, sdlDisplayFormat(c));
  if (!from || !to) return state.SkipWithError(SDL_GetError());
  SDL_Color colours[256];
  const int entries = nibbles ? 16 : 256;
  for (int i = 0; i < entries; ++i) {
    uint32_t p = screen.devicePalette[i];
    colours[i] = {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), 255};
  }
  SDL_SetPaletteColors(from->format->palette, colours, 0, entries);
  SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
  for (auto _ : state) {
    if (SDL_BlitSurface(from, nullptr, to, nullptr) != 0) {
      state.SkipWithError(SDL_GetError());
      break;
    }
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(to);
  SDL_FreeSurface(from);
}

void sdlBench(benchmark::State& state, Conversion c) {
  const GfxScreen& screen = openFrame(c.screenDepth);
  Surface surface(c.displayDepth);
  if (c.screenDepth <= 8) {
    sdlPaletteBench(state, c, screen, surface);
    if (state.error_occurred()) return;
  } else {
    for (auto _ : state) {
      if (SDL_ConvertPixels(frameWidth, frameHeight, sdlScreenFormat(c), screen.visibleFramebuffer,
                            screen.pitch, sdlDisplayFormat(c), surface.bytes.data(),
                            surface.pitch) != 0)
        return state.SkipWithError(SDL_GetError());
      benchmark::ClobberMemory();
    }
  }
  state.SetLabel(compareWithBlitter(c, surface));
  state.SetBytesProcessed(int64_t(state.iterations()) * screen.pitch * screen.height);
}

#endif

std::vector<Conversion> conversions() {
  std::vector<Conversion> all;
  for (int32_t displayDepth : {15, 16, 24, 32})
    for (int32_t order : {0, 1}) all.push_back({32, displayDepth, order});
  for (int32_t order : {0, 1}) all.push_back({16, 32, order});
  for (int32_t screenDepth : {8, 4})
    for (int32_t displayDepth : {15, 16, 24, 32})
      for (int32_t order : {0, 1}) all.push_back({screenDepth, displayDepth, order});
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_Memcpy", memcpyBench)->Arg(2)->Arg(3)->Arg(4);
  for (const Conversion& c : conversions())
    benchmark::RegisterBenchmark(("BM_Blitter/" + c.name()).c_str(), blitterBench, c);
  for (const Conversion& c : conversions())
    if (c.screenDepth <= 8)
      benchmark::RegisterBenchmark(("BM_BlitterAvx2/" + c.name()).c_str(), avx2Bench, c);
#ifdef KRGFX_HAVE_SDL2
  for (const Conversion& c : conversions())
    benchmark::RegisterBenchmark(("BM_SDL/" + c.name()).c_str(), sdlBench, c);
#endif

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  closeScreen();
  return 0;
}
