// drawLine: lines, box outlines and filled boxes, with dash patterns.
#include <algorithm>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/draw_session.h"
#include "gfx/line_raster.h"

namespace krgfx {

namespace {

struct Corners {
  int64_t x1, y1, x2, y2;
};

// Top, bottom, left and right edges; every pixel of the outline once.
void drawBoxOutline(DrawSession& session, const Corners& box, DashPattern& pattern) {
  drawSegment(session, box.x1, box.y1, box.x2, box.y1, &pattern);
  if (box.y2 != box.y1) drawSegment(session, box.x1, box.y2, box.x2, box.y2, &pattern);
  if (box.y2 - box.y1 < 2) return;
  drawSegment(session, box.x1, box.y1 + 1, box.x1, box.y2 - 1, &pattern);
  if (box.x2 != box.x1) drawSegment(session, box.x2, box.y1 + 1, box.x2, box.y2 - 1, &pattern);
}

void drawFilledBox(DrawSession& session, const Corners& box) {
  int64_t top = std::max<int64_t>(box.y1, session.clip.y);
  int64_t bottom = std::min<int64_t>(box.y2, int64_t{session.clip.y} + session.clip.height - 1);
  for (int64_t y = top; y <= bottom; ++y) session.fillRow(box.x1, box.x2, y);
}

}  // namespace

int32_t drawLine(ImageBuffer* target, float x1, float y1, float x2, float y2, uint32_t colour,
                 int32_t shape, uint32_t style, int32_t coordType, int32_t flags) {
  if (shape < shapeLine || shape > shapeFilledBox) return setRuntimeError(errBadCall);
  DrawSession session;
  if (!beginDrawing(session, target, colour, flags, coordType)) return errBadCall;
  DrawContext& context = *session.context;
  applyRelative(context, coordType, &x1, &y1, &x2, &y2);
  int32_t ends[4];
  toTargetPixels(context, x1, y1, &ends[0], &ends[1]);
  toTargetPixels(context, x2, y2, &ends[2], &ends[3]);
  Corners line{ends[0], ends[1], ends[2], ends[3]};
  DashPattern pattern{style & 0xFFFF, 0};
  if (shape == shapeLine) {
    drawSegment(session, line.x1, line.y1, line.x2, line.y2, &pattern);
  } else {
    Corners box{std::min(line.x1, line.x2), std::min(line.y1, line.y2), std::max(line.x1, line.x2),
                std::max(line.y1, line.y2)};
    if (shape == shapeBox)
      drawBoxOutline(session, box, pattern);
    else
      drawFilledBox(session, box);
  }
  return endDrawing(session);
}

}  // namespace krgfx
