// Feeds arbitrary bytes to the image loader as a BMP (plain, bit fields or
// run-length), PNG or raw dump, into exact heap blocks (so any write past an
// image is caught) and onto the screen, reads the file's size as
// imageFileInfo does, then draws what was loaded, scaled too, and saves it
// as a BMP and a PNG that must load again.
//
// Input: one selector byte, then the file.
//   bits 0-2  destination: 0 screen, 1 32-bit image, 2 16-bit image,
//             3 8-bit image, 4 short-header image, 5-7 screen
//   bit 3     a palette argument
//   bits 4-5  screen depth: 32, 16, 8, 32
//   bit 6     draw the loaded image onto the screen afterwards
//   bit 7     save the loaded image (or the screen) as BMP and PNG, load both
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include "gfx/image/image_format.h"
#include "gfx/image/image_loader.h"
#include "gfx/image/image_saving.h"
#include "gfx/screen.h"

using namespace krgfx;

namespace {

constexpr int32_t imageWidth = 37, imageHeight = 23;

void ensureScreen(int32_t depth) {
  if (gfxScreen && gfxScreen->depth == depth) return;
  openScreen(64, 48, depth, 1, flagNoDisplay, 0);
}

// An image in a block of exactly its own size.
uint8_t* makeImage(int32_t bpp) {
  int32_t pitch = (imageWidth * bpp + 15) & ~15;
  size_t size = 32 + static_cast<size_t>(pitch) * imageHeight;
  auto* image = static_cast<uint8_t*>(std::malloc(size));
  std::memset(image, 0x5A, size);
  ImageHeader header{imageHeaderType, bpp, imageWidth, imageHeight, pitch, {}};
  std::memcpy(image, &header, sizeof header);
  return image;
}

// A short header says nothing of the block around it: the caller vouches for
// the room a dump needs, here up to the whole input.
uint8_t* makeShortImage(size_t room) {
  int32_t bpp = gfxScreen->bytesPerPixel;
  size_t size = std::max(4 + static_cast<size_t>(imageWidth) * imageHeight * bpp, room);
  auto* image = static_cast<uint8_t*>(std::malloc(size));
  std::memset(image, 0x5A, size);
  ShortImageHeader header{static_cast<uint16_t>(imageWidth << 3 | bpp), imageHeight};
  std::memcpy(image, &header, sizeof header);
  return image;
}

// Whether the image a dump left in a short-header block fits it, as a careful
// caller checks before drawing it.
bool imageFits(const uint8_t* image, size_t room) {
  ImageLayout layout = readImageLayout(image, 4);
  if (!layout.shortHeader)
    return !isUsableLayout(layout) || 32 + size_t(layout.height) * size_t(layout.pitch) <= room;
  size_t widest = std::max<size_t>(static_cast<size_t>(layout.bytesPerPixel), 4);
  return 4 + static_cast<size_t>(layout.width) * layout.height * widest <= room;
}

uint8_t* makeDestination(int32_t kind, size_t room) {
  switch (kind) {
    case 1:
      return makeImage(4);
    case 2:
      return makeImage(2);
    case 3:
      return makeImage(1);
    case 4:
      return makeShortImage(room);
    default:
      return nullptr;
  }
}

// What was saved loads again: the writers' files are always whole.
void saveAndReload(const uint8_t* image) {
  uint32_t palette[256] = {};
  for (bool png : {false, true}) {
    std::FILE* file = std::tmpfile();
    if (!file) return;
    if (saveImageStream(file, png, image, png ? nullptr : palette) == 0) {
      std::rewind(file);
      int32_t width = 0, height = 0;
      if (readImageInfo(file, &width, &height, nullptr) != 0) std::abort();
      std::rewind(file);
      uint8_t* copy = makeImage(4);
      if (loadImageStream(file, copy, nullptr) != 0) std::abort();
      std::free(copy);
    }
    std::fclose(file);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  uint8_t selector = data[0];
  static const int32_t depths[4] = {32, 16, 8, 32};
  ensureScreen(depths[(selector >> 4) & 3]);
  std::FILE* file = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
  if (!file) return 0;
  int32_t kind = selector & 7;
  size_t room = std::max(4 + size_t{imageWidth} * imageHeight * 4, size);
  uint8_t* destination = makeDestination(kind, room);
  uint32_t palette[256];
  int32_t loaded = loadImageStream(file, destination, (selector & 8) ? palette : nullptr);
  std::rewind(file);
  readImageInfo(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  bool drawable = destination && (kind != 4 || imageFits(destination, room));
  if (drawable && (selector & 0x40)) {
    drawImage(nullptr, -3.0f, 5.0f, destination, notGiven, 0, 0, 0, 0, 0, transparentCopy, -1,
              nullptr, nullptr);
    drawImage(nullptr, 40.0f, 30.0f, destination, 2, 1, 900, 17, 1, 6, transparentCopy, -1, nullptr,
              nullptr);
    drawImageScaled(nullptr, -7.0f, 3.0f, 70, 13, destination, selector & 3 ? putAlpha : putPlain);
  }
  if (loaded == 0 && (selector & 0x80) && (!destination || drawable)) saveAndReload(destination);
  std::free(destination);
  return 0;
}
