// What every drawing operation does around its own work: the checks, the
// screen lock, the target bound with the right pixel routines, the clip
// rectangle within the target, the colour in the target's form, and the
// rows to mark on the shown page.
#pragma once

#include <cstdint>

#include "gfx/draw_context.h"

namespace krgfx {

struct DrawSession {
  DrawContext* context;
  ViewRect clip;                  // the target's clip rectangle within the target; may be empty
  uint32_t colour;                // the colour to draw, as the target stores it
  bool onShownPage;               // the target is the page the window shows
  int32_t dirtyFirst, dirtyLast;  // rows changed; none while first > last

  bool inside(int64_t x, int64_t y) const {
    return x >= clip.x && x < clip.x + clip.width && y >= clip.y && y < clip.y + clip.height;
  }
  // One pixel that lies inside the clip rectangle.
  void plot(int32_t x, int32_t y) {
    context->putPixel(*context, x, y, colour);
    noteRow(y);
  }
  void plotClipped(int64_t x, int64_t y) {
    if (inside(x, y)) plot(static_cast<int32_t>(x), static_cast<int32_t>(y));
  }
  // Pixels left to right of row y, cut to the clip rectangle.
  void fillRow(int64_t left, int64_t right, int64_t y);
  void noteRow(int32_t y) {
    if (y < dirtyFirst) dirtyFirst = y;
    if (y > dirtyLast) dirtyLast = y;
  }
};

// The coordinate types of the drawing operations: 0 to 3.
inline bool validCoordType(int32_t coordType) { return coordType >= 0 && coordType <= 3; }

// Checks that a screen is open and coordType is valid, then takes the lock
// and binds target for drawing `colour` (or the foreground colour when flags
// has colourNotGiven). False, with errBadCall stored, when the call cannot
// go on; nothing is locked then.
bool beginDrawing(DrawSession& session, void* target, uint32_t colour, int32_t flags,
                  int32_t coordType);
// Marks the changed rows of the shown page, unlocks and stores 0.
int32_t endDrawing(DrawSession& session);

// One point of an operation in target pixels: relative to the last point for
// coordType 2 and 3, and made the new last point.
void resolvePoint(DrawContext& context, int32_t coordType, float x, float y, int64_t* outX,
                  int64_t* outY);

}  // namespace krgfx
