// Straight segments in target pixels, cut to a session's clip rectangle,
// with an optional running dash pattern: shared by lines, boxes and the radii
// of pie slices.
#pragma once

#include <cstdint>

#include "gfx/draw_session.h"

namespace krgfx {

// A 16-bit dash pattern read from bit 15 down, one bit per pixel along the
// path, carried on from one segment to the next.
struct DashPattern {
  uint32_t bits;
  int32_t phase;  // bit of the next pixel, counted from bit 15

  bool draws(int64_t step) const { return bits >> (15 - (phase + step) % 16) & 1; }
  void advance(int64_t steps) { phase = static_cast<int32_t>((phase + steps) % 16); }
};

// Draws the segment from (x1, y1) to (x2, y2), both ends included; pixel i
// along the longer axis lies at the rounded point of the exact line (a half
// rounds up along the shorter axis's direction of travel). Coordinates beyond
// 2^29 are cut to that range first. With a pattern, only the pixels whose
// bit is set are drawn, and the pattern moves on by the segment's length.
void drawSegment(DrawSession& session, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 DashPattern* pattern);

}  // namespace krgfx
