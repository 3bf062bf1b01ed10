// The image header helpers that are not worth inlining.
#include "gfx/image/image_format.h"

namespace krgfx {

uint32_t transparentFill(int32_t bytesPerPixel) {
  if (bytesPerPixel == 1) return transparentFill8;
  if (bytesPerPixel == 2) return transparentFill16;
  return transparentFill32;
}

int64_t paddedPitch(int64_t width, int32_t bytesPerPixel) {
  int64_t pitch = (width * bytesPerPixel + 15) & ~int64_t{15};
  return pitch > INT32_MAX ? -1 : pitch;
}

}  // namespace krgfx
