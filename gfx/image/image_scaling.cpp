// drawImageScaled: nearest-neighbour scaling. Each target row inside the clip
// rectangle is built from its source row in a buffer and handed to the put
// mode's row combiner; consecutive target rows of one source row share it.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/image_target.h"
#include "gfx/image/put_modes.h"
#include "gfx/image/target_clip.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// Target columns [first, first + count) of a picture `size` wide placed at
// `origin`, cut to the clip span [clipStart, clipStart + clipSize).
struct Span {
  int64_t first, count;
};

Span clipSpan(int64_t origin, int64_t size, int64_t clipStart, int64_t clipSize) {
  int64_t first = std::max(origin, clipStart);
  int64_t end = std::min(origin + size, clipStart + clipSize);
  return {first, std::max<int64_t>(end - first, 0)};
}

// The source index nearest to target index `offset` of `scaledSize`.
int32_t sourceIndex(int64_t offset, int64_t sourceSize, int64_t scaledSize) {
  return static_cast<int32_t>(offset * sourceSize / scaledSize);
}

struct ScaledRows {
  const ImageLayout& image;
  Span columns;
  int64_t left;  // target column of the picture's first column
  int32_t width;
  uint8_t* buffer;  // one target row of source pixels
};

void buildRow(const ScaledRows& rows, int32_t sourceRow) {
  const uint8_t* in = rows.image.pixels + static_cast<ptrdiff_t>(sourceRow) * rows.image.pitch;
  int32_t bpp = rows.image.bytesPerPixel;
  for (int64_t i = 0; i < rows.columns.count; ++i) {
    int32_t column = sourceIndex(rows.columns.first - rows.left + i, rows.image.width, rows.width);
    std::memcpy(rows.buffer + i * bpp, in + static_cast<ptrdiff_t>(column) * bpp, bpp);
  }
}

}  // namespace

int32_t drawImageScaled(ImageBuffer* target, float x, float y, int32_t width, int32_t height,
                        const ImageBuffer* source, int32_t mode) {
  if (!gfxScreen || !source || width < 1 || height < 1) return setRuntimeError(errBadCall);
  DrawContext& context = currentContext();
  prepareTarget(context, target);
  applyRelative(context, 4, &x, &y, nullptr, nullptr);
  int32_t left, top;
  toTargetPixels(context, x, y, &left, &top);

  ImageLayout targetImage = targetLayout(context);
  ImageLayout image = readImageLayout(source, targetImage.bytesPerPixel);
  if (!isUsableLayout(targetImage) || !isUsableLayout(image)) return setRuntimeError(errBadCall);
  RowCombiner combiner = combinerForPut(mode, image.bytesPerPixel, targetImage.bytesPerPixel);
  if (!combiner) return setRuntimeError(errBadCall);

  ViewRect clip = clipRect(context.viewRect, targetImage);
  Span columns = clipSpan(left, width, clip.x, clip.width);
  Span rows = clipSpan(top, height, clip.y, clip.height);
  if (image.width == 0 || image.height == 0 || columns.count == 0 || rows.count == 0)
    return setRuntimeError(0);
  std::unique_ptr<uint8_t[]> buffer(
      new (std::nothrow) uint8_t[static_cast<size_t>(columns.count) * image.bytesPerPixel]);
  if (!buffer) return setRuntimeError(errNoMemory);

  ScaledRows scaled{image, columns, left, width, buffer.get()};
  lockScreen();
  int32_t builtRow = -1;
  for (int64_t row = rows.first; row < rows.first + rows.count; ++row) {
    int32_t sourceRow = sourceIndex(row - top, image.height, height);
    if (sourceRow != builtRow) buildRow(scaled, builtRow = sourceRow);
    uint8_t* destination = context.rowTable[row] +
                           static_cast<ptrdiff_t>(columns.first) * targetImage.bytesPerPixel;
    combiner(buffer.get(), destination, static_cast<int32_t>(columns.count), 1, 0, context.pitch,
             -1, nullptr, nullptr);
  }
  markShownRows(context, static_cast<int32_t>(rows.first), static_cast<int32_t>(rows.count));
  unlockScreen(1, 0);
  return setRuntimeError(0);
}

}  // namespace krgfx
