// The frame of every drawing operation: checks, lock, target, clip, colour
// and the rows marked on the shown page.
#include "gfx/draw_session.h"

#include <algorithm>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/colour_format.h"
#include "gfx/image/image_format.h"
#include "gfx/image/image_target.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// The clip rectangle cut to the target's own pixels.
ViewRect clipWithinTarget(const DrawContext& context, int32_t width, int32_t height) {
  const ViewRect& view = context.viewRect;
  int64_t left = std::max<int64_t>(view.x, 0), top = std::max<int64_t>(view.y, 0);
  int64_t right = std::min<int64_t>(int64_t{view.x} + view.width, width);
  int64_t bottom = std::min<int64_t>(int64_t{view.y} + view.height, height);
  if (right <= left || bottom <= top) return {0, 0, 0, 0};
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top)};
}

}  // namespace

void DrawSession::fillRow(int64_t left, int64_t right, int64_t y) {
  if (y < clip.y || y >= clip.y + clip.height) return;
  left = std::max<int64_t>(left, clip.x);
  right = std::min<int64_t>(right, int64_t{clip.x} + clip.width - 1);
  if (left > right) return;
  int32_t row = static_cast<int32_t>(y);
  context->fillSpan(context->rowTable[row] + left * context->bytesPerPixel, colour,
                    static_cast<int32_t>(right - left + 1));
  noteRow(row);
}

bool beginDrawing(DrawSession& session, void* target, uint32_t colour, int32_t flags,
                  int32_t coordType) {
  if (!gfxScreen || !validCoordType(coordType)) {
    setRuntimeError(errBadCall);
    return false;
  }
  lockScreen();
  DrawContext& context = currentContext();
  prepareTarget(context, target);
  int32_t width = gfxScreen->width, height = gfxScreen->height;
  if (target) {
    ImageLayout layout = readImageLayout(target, gfxScreen->bytesPerPixel);
    width = layout.width;
    height = layout.height;
  }
  uint32_t pixel = (flags & colourNotGiven) ? context.foreColor
                                            : pixelOfColour(context.bytesPerPixel, colour);
  chooseWriteMode(context, pixel);
  session.context = &context;
  session.clip = clipWithinTarget(context, width, height);
  session.colour = pixel;
  session.onShownPage = !target && context.workPage == gfxScreen->visiblePage;
  session.dirtyFirst = INT32_MAX;
  session.dirtyLast = INT32_MIN;
  return true;
}

int32_t endDrawing(DrawSession& session) {
  if (session.onShownPage && session.dirtyFirst <= session.dirtyLast)
    markDirtyRows(session.dirtyFirst, session.dirtyLast);
  unlockScreen(1, 0);
  return setRuntimeError(0);
}

void resolvePoint(DrawContext& context, int32_t coordType, float x, float y, int64_t* outX,
                  int64_t* outY) {
  applyRelative(context, coordType >= 2 ? 5 : 4, &x, &y, nullptr, nullptr);
  int32_t px, py;
  toTargetPixels(context, x, y, &px, &py);
  *outX = px;
  *outY = py;
}

}  // namespace krgfx
