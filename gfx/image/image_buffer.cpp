// Image buffers: one heap block holding a 16-byte aligned ImageHeader and its
// rows, with the block's address kept just before the header.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/colour_format.h"
#include "gfx/draw_context.h"
#include "gfx/image/image_format.h"
#include "gfx/image/image_target.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// Room the block leaves around the header: up to 18 bytes before it (the
// block address needs a pointer's worth) and the 32-byte header itself.
constexpr int64_t blockSlack = 50;
static_assert(alignof(std::max_align_t) >= sizeof(void*),
              "the heap must leave room for the block address before the header");

int32_t bytesPerPixelOf(int32_t depth) {
  if (depth <= 0) return gfxScreen->bytesPerPixel;
  return (depth - 1) / 8 + 1;
}

uint32_t fillColour(uint32_t colour, int32_t bpp, int32_t flags) {
  if (flags & colourNotGiven) return transparentFill(bpp);
  return bpp == 2 ? to565(colour) : colour;
}

void*& storedBlockAddress(void* header) {
  return *reinterpret_cast<void**>(static_cast<uint8_t*>(header) - sizeof(void*));
}

}  // namespace

ImageBuffer* createImage(int32_t width, int32_t height, int32_t colour, int32_t depth,
                         int32_t flags) {
  if (!gfxScreen || width <= 0 || height <= 0) {
    setRuntimeError(errBadCall);
    return nullptr;
  }
  DrawContext& context = currentContext();
  int32_t bpp = bytesPerPixelOf(depth);
  if (bpp != 1 && bpp != 2 && bpp != 4) {
    setRuntimeError(errBadCall);
    return nullptr;
  }
  uint32_t fill = fillColour(static_cast<uint32_t>(colour), bpp, flags);
  // Sizes beyond 32 bits cannot be addressed by the row routines: they are
  // allocation failures, like any block the heap cannot give.
  int64_t pitch = paddedPitch(width, bpp);
  int64_t blockSize = pitch < 0 ? -1 : height * pitch + blockSlack;
  void* block = blockSize < 0 || blockSize > INT32_MAX
                    ? nullptr
                    : std::malloc(static_cast<size_t>(blockSize));
  if (!block) {
    setRuntimeError(errNoMemory);
    return nullptr;
  }
  auto address = (reinterpret_cast<uintptr_t>(block) + 18) & ~uintptr_t{15};
  auto* image = reinterpret_cast<uint8_t*>(address);
  storedBlockAddress(image) = block;
  ImageHeader header{imageHeaderType, bpp, width, height, static_cast<int32_t>(pitch), {}};
  std::memcpy(image, &header, 20);  // bytes 20-23 are left as they are
  std::memset(image + 24, 0, 8);

  prepareTarget(context, image);
  context.fillSpan(image + sizeof header, fill, static_cast<int32_t>(height * pitch / bpp));
  setRuntimeError(0);
  return image;
}

void destroyImage(ImageBuffer* image) {
  if (!image) return;
  // A context left pointing at the image would take a later image made at
  // the same address for one already bound.
  DrawContext& context = currentContext();
  if (context.target == image) {
    context.target = nullptr;
    bindTarget(context, nullptr);
  }
  std::free(storedBlockAddress(image));
}

}  // namespace krgfx
