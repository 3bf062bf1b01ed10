#include "gfx/image/target_clip.h"

#include <algorithm>

#include "gfx/screen.h"

namespace krgfx {

ImageLayout targetLayout(const DrawContext& context) {
  ImageLayout layout{context.bytesPerPixel, gfxScreen->width, gfxScreen->height,
                     context.pitch,         nullptr,          false};
  if (context.target) {
    ImageLayout image = readImageLayout(context.target, context.bytesPerPixel);
    layout.width = image.width;
    layout.height = image.height;
  }
  return layout;
}

ViewRect clipRect(const ViewRect& view, const ImageLayout& target) {
  int64_t left = std::max(view.x, 0), top = std::max(view.y, 0);
  int64_t right = std::min<int64_t>(int64_t{view.x} + view.width, target.width);
  int64_t bottom = std::min<int64_t>(int64_t{view.y} + view.height, target.height);
  return {static_cast<int32_t>(left), static_cast<int32_t>(top),
          static_cast<int32_t>(std::max<int64_t>(right - left, 0)),
          static_cast<int32_t>(std::max<int64_t>(bottom - top, 0))};
}

// One store for the whole run of rows: sprites are drawn many times a frame.
void markShownRows(const DrawContext& context, int32_t first, int32_t count) {
  if (context.target || context.rowTable[0] != gfxScreen->visibleFramebuffer) return;
  int32_t last = std::min(first + count - 1, gfxScreen->height - 1);
  if (first >= 0 && last >= first) markDirtyRows(first, last);
}

}  // namespace krgfx
