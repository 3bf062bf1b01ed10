#include "gfx/image/load_target.h"

#include <algorithm>
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/image_target.h"
#include "gfx/screen.h"

namespace krgfx {

int32_t chooseLoadTarget(void* destination, int32_t width, int32_t height, LoadTarget& target) {
  const GfxScreen& screen = *gfxScreen;
  target = {screen.bytesPerPixel,
            std::min(width, screen.width),
            std::min(height, screen.height),
            false,
            {}};
  if (!destination) return 0;
  ImageLayout layout = readImageLayout(destination, 0);
  int32_t bits = layout.bytesPerPixel;
  bool shortWithDepth = layout.shortHeader && (bits == 1 || bits == 2 || bits == 4);
  if (!layout.shortHeader || shortWithDepth) {
    if (!isUsableLayout(layout)) return errBadCall;
    if (layout.shortHeader && layout.bytesPerPixel != screen.bytesPerPixel) return errBadCall;
    target.bytesPerPixel = layout.bytesPerPixel;
    target.width = std::min(width, layout.width);
    target.height = std::min(height, layout.height);
    return 0;
  }
  int64_t pitch = paddedPitch(width, screen.bytesPerPixel);
  if (pitch < 0 || 32 + height * pitch > INT32_MAX) return errBadCall;
  target.plainBlock = true;
  target.header = {imageHeaderType, screen.bytesPerPixel,        width,
                   height,          static_cast<int32_t>(pitch), {}};
  target.width = width;
  target.height = height;
  return 0;
}

void beginLoad(DrawContext& context, void* destination, const LoadTarget& target) {
  if (target.plainBlock) std::memcpy(destination, &target.header, 20);  // reserved bytes stay
  prepareTarget(context, destination);
}

void markLoadedRows(const DrawContext& context) {
  if (!context.target && context.rowTable[0] == gfxScreen->visibleFramebuffer) markAllRowsDirty();
}

}  // namespace krgfx
