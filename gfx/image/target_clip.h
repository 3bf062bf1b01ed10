// The drawing target as the context has bound it, its clip rectangle and the
// dirty marks of rows drawn on the shown page: shared by every operation that
// draws an image.
#pragma once

#include <cstdint>

#include "gfx/draw_context.h"
#include "gfx/image/image_format.h"

namespace krgfx {

// The target's depth and row pitch, and the size of the image or the screen.
ImageLayout targetLayout(const DrawContext& context);

// The clip rectangle, kept within the target's own rows and columns.
ViewRect clipRect(const ViewRect& view, const ImageLayout& target);

// Marks count rows from first in dirtyLines when the target is the shown page.
void markShownRows(const DrawContext& context, int32_t first, int32_t count);

}  // namespace krgfx
