// The palette of screens of 8 bits or fewer, for programs. A change goes to
// the palette, the displayed palette and the display driver under one lock,
// so the presenter converts the screen once for any number of entries.
#include <krgfx/draw.h>
#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/display/display_driver.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

constexpr int32_t paletteSize = 256;

bool hasPalette() { return gfxScreen && gfxScreen->depth <= 8; }

bool validComponent(int32_t value) { return value >= 0 && value <= 255; }

// One entry, under the lock the caller holds.
void storeEntry(GfxScreen& screen, int32_t index, uint32_t red, uint32_t green, uint32_t blue) {
  uint32_t colour = red | green << 8 | blue << 16;  // 0x00BBGGRR
  screen.palette[index] = colour;
  if (index >= (1 << screen.depth)) return;
  screen.devicePalette[index] = colour;
  if (screen.driver && screen.driver->setPaletteEntry)
    screen.driver->setPaletteEntry(index, static_cast<int32_t>(red), static_cast<int32_t>(green),
                                   static_cast<int32_t>(blue));
}

// Rows drawn from the changed entries look different now: all are shown again.
void showChange() {
  markAllRowsDirty();
  unlockScreen(1, 0);
}

}  // namespace

int32_t setPaletteColour(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (!hasPalette() || index < 0 || index >= paletteSize || !validComponent(red) ||
      !validComponent(green) || !validComponent(blue))
    return setRuntimeError(errBadCall);
  lockScreen();
  storeEntry(*gfxScreen, index, static_cast<uint32_t>(red), static_cast<uint32_t>(green),
             static_cast<uint32_t>(blue));
  showChange();
  return setRuntimeError(0);
}

int32_t setPalette(const uint32_t* colours, int32_t first, int32_t count) {
  if (!hasPalette() || !colours || first < 0 || count < 0 || first > paletteSize - count)
    return setRuntimeError(errBadCall);
  lockScreen();
  for (int32_t i = 0; i < count; ++i) {
    uint32_t colour = colours[i];  // 0xRRGGBB
    storeEntry(*gfxScreen, first + i, colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF);
  }
  showChange();
  return setRuntimeError(0);
}

int32_t paletteColour(int32_t index) {
  if (!hasPalette() || index < 0 || index >= paletteSize) {
    setRuntimeError(errBadCall);
    return -1;
  }
  uint32_t colour = gfxScreen->palette[index];
  setRuntimeError(0);
  return static_cast<int32_t>((colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF));
}

}  // namespace krgfx
