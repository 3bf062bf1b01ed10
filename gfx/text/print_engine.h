// The print engine: control characters, batching, wrapping at the right edge
// and scrolling of a text region. It knows nothing of the display; the region
// brings the routines that draw and scroll (the graphics screen's or the text
// console's).
#pragma once

#include <cstdint>

namespace krgfx {

struct DrawContext;

struct PrintRegion {
  DrawContext* target;  // null for a region that does not draw into a buffer
  int32_t dirtyFirst;   // pixel rows changed by this print, [dirtyFirst, dirtyEnd)
  int32_t dirtyEnd;
  // Scrolls rows top to bottom, columns left to right, up by `lines`.
  void (*scroll)(PrintRegion& region, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 int32_t lines);
  // Draws `count` bytes from (x, y) on one row; answers 1 on success.
  int32_t (*write)(PrintRegion& region, const uint8_t* bytes, int32_t count);
  int32_t left, right;  // first and last column
  int32_t top, bottom;  // first and last row; a bottom of -1 never scrolls
  int32_t x, y;         // current column and row
};

constexpr int32_t printBatchSize = 1024;

// Prints bytes with their control characters: BEL rings the bell, BS steps
// back, TAB advances to the next multiple of 8, LF goes down (and to the left
// edge when lfReturnsCarriage), CR to the left edge; every other byte is drawn.
void printToRegion(PrintRegion& region, const uint8_t* bytes, int32_t length,
                   bool lfReturnsCarriage);

// Draws printable bytes from (x, y), wrapping at the right edge. A row filled
// to its end scrolls only when the next byte arrives.
void writeRun(PrintRegion& region, const uint8_t* bytes, int32_t count);

// Scrolls the region so that row y is its last row again.
void scrollToCursor(PrintRegion& region);

}  // namespace krgfx
