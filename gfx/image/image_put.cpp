// putImage, and the plain and blending row combiners that its modes add to
// transparentCopy and alphaMaskCopy.
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/depth_routines.h"
#include "gfx/draw_context.h"
#include "gfx/image/put_modes.h"
#include "gfx/image/row_walk.h"

namespace krgfx {

namespace {
constexpr int32_t alphaMaskMode = 6;  // drawImage's mode for an 8-bit source on a 32-bit target

RowCombiner putCombiner(int32_t mode) {
  const RowCombiner byMode[] = {plainCopy, transparentCopy, alphaBlendCopy};
  return mode >= putPlain && mode <= putAlpha ? byMode[mode] : nullptr;
}

}  // namespace

void plainCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
               int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  size_t rowBytes = static_cast<size_t>(width) * currentContext().bytesPerPixel;
  for (int32_t row = 0; row < height; ++row)
    std::memmove(destination + static_cast<ptrdiff_t>(row) * destinationPitch,
                 source + static_cast<ptrdiff_t>(row) * sourcePitch, rowBytes);
}

void alphaBlendCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                    int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                    void* param) {
  if (currentContext().bytesPerPixel != 4) {
    plainCopy(source, destination, width, height, sourcePitch, destinationPitch, alpha, blender,
              param);
    return;
  }
  auto pixel = [](const uint8_t* in, uint8_t* out) {
    uint32_t s, d;
    std::memcpy(&s, in, 4);
    std::memcpy(&d, out, 4);
    d = blendPlain(s, d);
    std::memcpy(out, &d, 4);
  };
  walkRows<1, 4, 4>(source, destination, width, height, sourcePitch, destinationPitch, pixel,
                    pixel);
}

RowCombiner combinerForPut(int32_t mode, int32_t sourceBpp, int32_t targetBpp) {
  if (mode == putAlpha && sourceBpp == 1 && targetBpp == 4) return alphaMaskCopy;
  if (sourceBpp != targetBpp) return nullptr;
  return putCombiner(mode);
}

// drawImage checks the depths and, with mode 6, turns an 8-bit source on a
// 32-bit target into alpha bytes.
int32_t putImage(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t mode) {
  RowCombiner combiner = putCombiner(mode);
  if (!combiner) return setRuntimeError(errBadCall);
  return drawImage(target, x, y, source, notGiven, 0, 0, 0, 0, mode == putAlpha ? alphaMaskMode : 0,
                   combiner, -1, nullptr, nullptr);
}

}  // namespace krgfx
