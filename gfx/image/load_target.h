// Where a loaded picture goes: an image, a plain memory block that receives
// an ImageHeader first, or the screen's work page, and how much of the
// picture is kept there.
#pragma once

#include <cstdint>

#include "gfx/image/image_format.h"

namespace krgfx {

struct DrawContext;

struct LoadTarget {
  int32_t bytesPerPixel;
  int32_t width;  // columns and rows filled: the picture's size, cut to the target's
  int32_t height;
  bool plainBlock;  // a plain memory block that receives `header` first
  ImageHeader header;
};

// Chooses the target for a picture of width x height (null destination: the
// screen's work page). Refuses (errBadCall) an image whose depth has no
// converter, and a short header whose depth differs from the screen's (its
// rows are laid out at the screen's depth when drawn on). A plain memory
// block is described by a new header of the screen's depth and the
// picture's size. Needs an open screen.
int32_t chooseLoadTarget(void* destination, int32_t width, int32_t height, LoadTarget& target);

// Writes a plain block's header (its reserved bytes stay) and makes the
// destination the context's target; call when every check has passed.
void beginLoad(DrawContext& context, void* destination, const LoadTarget& target);

// Marks every row dirty when the context's target is the shown page.
void markLoadedRows(const DrawContext& context);

}  // namespace krgfx
