// drawPixel and readPixel.
#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/colour_format.h"
#include "gfx/draw_session.h"
#include "gfx/screen.h"

namespace krgfx {

int32_t drawPixel(ImageBuffer* target, float x, float y, uint32_t colour, int32_t coordType,
                  int32_t flags) {
  DrawSession session;
  if (!beginDrawing(session, target, colour, flags, coordType)) return errBadCall;
  int64_t px, py;
  resolvePoint(*session.context, coordType, x, y, &px, &py);
  session.plotClipped(px, py);
  return endDrawing(session);
}

int64_t readPixel(ImageBuffer* target, float x, float y, int32_t coordType) {
  DrawSession session;
  if (!beginDrawing(session, target, 0, colourNotGiven, coordType)) return -1;
  DrawContext& context = *session.context;
  int64_t px, py;
  resolvePoint(context, coordType, x, y, &px, &py);
  int64_t colour = -1;
  if (session.inside(px, py))
    colour = colourOfPixel(
        context.bytesPerPixel,
        context.getPixel(context, static_cast<int32_t>(px), static_cast<int32_t>(py)));
  endDrawing(session);
  return colour;
}

}  // namespace krgfx
