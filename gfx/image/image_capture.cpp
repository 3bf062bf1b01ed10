// captureImage: a new image holding a rectangle of an image or the screen's
// work page, in the coordinates that putImage takes.
#include <algorithm>
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/image_target.h"
#include "gfx/image/target_clip.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// The rectangle in target pixels, cut to the clip rectangle; empty when
// nothing of it lies inside.
ViewRect capturedRect(const DrawContext& context, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  orderCorners(&x1, &y1, &x2, &y2);
  ViewRect clip = clipRect(context.viewRect, targetLayout(context));
  int64_t left = std::max<int64_t>(int64_t{x1} + context.viewRect.x, clip.x);
  int64_t top = std::max<int64_t>(int64_t{y1} + context.viewRect.y, clip.y);
  int64_t right = std::min<int64_t>(int64_t{x2} + context.viewRect.x + 1,
                                    int64_t{clip.x} + clip.width);
  int64_t bottom = std::min<int64_t>(int64_t{y2} + context.viewRect.y + 1,
                                     int64_t{clip.y} + clip.height);
  if (right <= left || bottom <= top) return {0, 0, 0, 0};
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top)};
}

}  // namespace

ImageBuffer* captureImage(const ImageBuffer* source, int32_t x1, int32_t y1, int32_t x2,
                          int32_t y2) {
  if (!gfxScreen) {
    setRuntimeError(errBadCall);
    return nullptr;
  }
  DrawContext& context = currentContext();
  auto* from = const_cast<ImageBuffer*>(source);
  prepareTarget(context, from);
  if (!isUsableLayout(targetLayout(context))) {
    setRuntimeError(errBadCall);
    return nullptr;
  }
  ViewRect rect = capturedRect(context, x1, y1, x2, y2);
  if (rect.width == 0) {
    setRuntimeError(errBadCall);
    return nullptr;
  }
  int32_t bpp = context.bytesPerPixel;
  ImageBuffer* image = createImage(rect.width, rect.height, 0, bpp * 8, 0);
  if (!image) return nullptr;  // createImage has stored why
  ImageLayout copy = readImageLayout(image, bpp);
  prepareTarget(context, from);  // createImage bound the new image
  lockScreen();
  for (int32_t row = 0; row < rect.height; ++row)
    std::memcpy(copy.pixels + static_cast<ptrdiff_t>(row) * copy.pitch,
                context.rowTable[rect.y + row] + static_cast<ptrdiff_t>(rect.x) * bpp,
                static_cast<size_t>(rect.width) * bpp);
  unlockScreen(1, 0);
  setRuntimeError(0);
  return image;
}

}  // namespace krgfx
