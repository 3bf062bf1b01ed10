// The flood fill behind floodFill, with the size of its list of pending
// rows as a parameter so that tests can make the list overflow.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/draw_session.h"

namespace krgfx {

// Pending seeds the fill keeps before it falls back to sweeping the clip
// rectangle for pixels next to those already filled.
constexpr size_t floodSeedCapacity = 4096;

struct FloodRule {
  bool overColour;  // fill the seed's colour; else everything but the border
  uint32_t match;   // the seed's colour or the border's, compared bits only
};

// Fills from (x, y), inside the session's clip. 0, or errNoMemory when the
// map of filled pixels cannot be had.
int32_t floodFrom(DrawSession& session, int64_t x, int64_t y, uint32_t border, bool overColour,
                  size_t seedCapacity);

}  // namespace krgfx
