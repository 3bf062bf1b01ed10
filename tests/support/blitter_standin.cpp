// Stand-in Blitters for the window tests until the real ones are on main.
// Plain conversions for rgbOrder 0 only.
#include <cstring>

#include "gfx/display/window_layer.h"
#include "gfx/screen.h"

namespace {

template <typename Convert>
void eachDirtyRow(uint8_t* destination, int32_t pitch, Convert convert) {
  const GfxScreen& screen = *gfxScreen;
  for (int32_t row = 0; row < screen.height * screen.scanlineSize; ++row) {
    int32_t source = row / screen.scanlineSize;
    if (!screen.dirtyLines[source]) continue;
    const uint8_t* from = screen.visibleFramebuffer + static_cast<size_t>(source) * screen.pitch;
    uint8_t* to = destination + static_cast<ptrdiff_t>(row) * pitch;
    for (int32_t x = 0; x < screen.width; ++x) convert(from, to, x);
  }
}

uint32_t rgbOf(const uint8_t* from, int32_t x) {
  const GfxScreen& screen = *gfxScreen;
  if (screen.depth == 32) {
    uint32_t s;
    std::memcpy(&s, from + 4 * x, 4);
    return s & 0xFFFFFF;
  }
  if (screen.depth == 16) {
    uint16_t s;
    std::memcpy(&s, from + 2 * x, 2);
    return (s >> 11 & 0x1F) << 19 | (s >> 5 & 0x3F) << 10 | (s & 0x1F) << 3;
  }
  uint32_t p = screen.devicePalette[from[x]];
  return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
}

void to32(uint8_t* destination, int32_t pitch) {
  eachDirtyRow(destination, pitch, [](const uint8_t* from, uint8_t* to, int32_t x) {
    uint32_t v = rgbOf(from, x);
    if (gfxScreen->depth == 32) std::memcpy(&v, from + 4 * x, 4);
    std::memcpy(to + 4 * x, &v, 4);
  });
}
void to24(uint8_t* destination, int32_t pitch) {
  eachDirtyRow(destination, pitch, [](const uint8_t* from, uint8_t* to, int32_t x) {
    uint32_t v = rgbOf(from, x);
    to[3 * x] = v & 0xFF, to[3 * x + 1] = v >> 8 & 0xFF, to[3 * x + 2] = v >> 16 & 0xFF;
  });
}
void to16(uint8_t* destination, int32_t pitch) {
  eachDirtyRow(destination, pitch, [](const uint8_t* from, uint8_t* to, int32_t x) {
    uint16_t v;
    if (gfxScreen->depth == 16) {
      std::memcpy(&v, from + 2 * x, 2);
    } else {
      uint32_t c = rgbOf(from, x);
      v = static_cast<uint16_t>((c >> 19 & 0x1F) << 11 | (c >> 10 & 0x3F) << 5 | (c >> 3 & 0x1F));
    }
    std::memcpy(to + 2 * x, &v, 2);
  });
}

}  // namespace

Blitter chooseBlitter(int32_t displayDepth, int32_t rgbOrder) {
  if (rgbOrder != 0) return nullptr;
  switch (displayDepth) {
    case 16: return to16;
    case 24: return to24;
    case 32: return to32;
    default: return nullptr;
  }
}
