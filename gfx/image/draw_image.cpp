// drawImage: resolves the position, trims the source rectangle to the image,
// clips it against the target and hands the rows to a row combiner.
#include <algorithm>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/image_format.h"
#include "gfx/image/image_target.h"
#include "gfx/image/target_clip.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

constexpr int32_t alphaMode = 6;

struct SourceRect {
  int32_t x, y, width, height;
};

int32_t saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The corners ordered and clamped into the image: a rectangle outside the
// image lands on its nearest edge pixels.
SourceRect trimToImage(const ImageLayout& image, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x1 == notGiven) return {0, 0, image.width, image.height};
  if (image.width == 0 || image.height == 0) return {0, 0, 0, 0};
  orderCorners(&x1, &y1, &x2, &y2);
  x1 = std::clamp(x1, 0, image.width - 1);
  x2 = std::clamp(x2, 0, image.width - 1);
  y1 = std::clamp(y1, 0, image.height - 1);
  y2 = std::clamp(y2, 0, image.height - 1);
  return {x1, y1, x2 - x1 + 1, y2 - y1 + 1};
}

}  // namespace

int32_t drawImage(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t x1,
                  int32_t y1, int32_t x2, int32_t y2, int32_t coordType, int32_t mode,
                  RowCombiner combiner, int32_t alpha, void* blender, void* param) {
  if (!gfxScreen || !source) return setRuntimeError(errBadCall);
  DrawContext& context = currentContext();
  prepareTarget(context, target);
  if (coordType < 0 || coordType > 3) return setRuntimeError(errBadCall);

  applyRelative(context, coordType >= 2 ? 5 : 4, &x, &y, nullptr, nullptr);
  if (coordType == 1 || coordType == 3) {
    x2 = saturated(int64_t{x2} + x1);
    y2 = saturated(int64_t{y2} + y1);
  }
  int32_t left, top;
  toTargetPixels(context, x, y, &left, &top);

  ImageLayout targetImage = targetLayout(context);
  int32_t targetBpp = targetImage.bytesPerPixel;
  ImageLayout image = readImageLayout(source, targetBpp);
  if (!isUsableLayout(targetImage) || !isUsableLayout(image)) return setRuntimeError(errBadCall);
  if (image.bytesPerPixel != targetBpp) {
    if (targetBpp != 4 || image.bytesPerPixel != 1 || mode != alphaMode)
      return setRuntimeError(errBadCall);
    combiner = alphaMaskCopy;
  }
  if (!combiner) return setRuntimeError(errBadCall);

  SourceRect rect = trimToImage(image, x1, y1, x2, y2);
  ViewRect clip = clipRect(context.viewRect, targetImage);
  int64_t clipRight = int64_t{clip.x} + clip.width, clipBottom = int64_t{clip.y} + clip.height;
  if (rect.width == 0 || rect.height == 0 || int64_t{left} + rect.width <= clip.x ||
      left >= clipRight || int64_t{top} + rect.height <= clip.y || top >= clipBottom)
    return setRuntimeError(0);
  if (top < clip.y) {
    rect.y += clip.y - top;
    rect.height -= clip.y - top;
    top = clip.y;
  }
  if (int64_t{top} + rect.height > clipBottom) rect.height = static_cast<int32_t>(clipBottom - top);
  if (left < clip.x) {
    rect.x += clip.x - left;
    rect.width -= clip.x - left;
    left = clip.x;
  }
  if (int64_t{left} + rect.width > clipRight) rect.width = static_cast<int32_t>(clipRight - left);

  lockScreen();
  const uint8_t* first = image.pixels + static_cast<ptrdiff_t>(rect.y) * image.pitch +
                         static_cast<ptrdiff_t>(rect.x) * image.bytesPerPixel;
  uint8_t* destination = context.rowTable[top] + static_cast<ptrdiff_t>(left) * targetBpp;
  combiner(first, destination, rect.width, rect.height, image.pitch, context.pitch, alpha, blender,
           param);
  markShownRows(context, top, rect.height);
  unlockScreen(1, 0);
  return setRuntimeError(0);
}

}  // namespace krgfx
