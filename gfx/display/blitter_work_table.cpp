// The blitterWorkTable: low[i] then high[i], so that a 5-6-5 pixel s shows as
// low[s & 0xFF] | high[s >> 8], channels widened to 8 bits with their low
// bits zero, in the display's order.
#include "gfx/display/blitter_rows.h"
#include "gfx/screen.h"

namespace krgfx {

namespace blitters {

namespace {

uint32_t lowEntry(bool redLow, uint32_t i) {
  return (redLow ? (i & 0x1F) << 19 : (i << 3) & 0xFF) | (i & 0xE0) << 5;
}

uint32_t highEntry(bool redLow, uint32_t i) {
  return (redLow ? i & 0xF8 : (i & 0xF8) << 16) | ((i << 13) & 0xFFFF);
}

bool holdsFilling(bool redLow) {
  for (uint32_t i = 0; i < 256; ++i)
    if (blitterWorkTable[i] != lowEntry(redLow, i) ||
        blitterWorkTable[256 + i] != highEntry(redLow, i))
      return false;
  return true;
}

}  // namespace

void fillWorkTable(bool redLow) {
  for (uint32_t i = 0; i < 256; ++i) {
    blitterWorkTable[i] = lowEntry(redLow, i);
    blitterWorkTable[256 + i] = highEntry(redLow, i);
  }
}

int32_t workTableOrder() {
  if (!blitterWorkTable) return -1;
  return holdsFilling(true) ? 1 : holdsFilling(false) ? 0 : -1;
}

}  // namespace blitters

}  // namespace krgfx
