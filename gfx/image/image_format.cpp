// Reading the image headers.
#include "gfx/image/image_format.h"

#include <cstring>

uint32_t transparentFill(int32_t bytesPerPixel) {
  if (bytesPerPixel == 1) return transparentFill8;
  if (bytesPerPixel == 2) return transparentFill16;
  return transparentFill32;
}

bool isImageHeader(const void* image) {
  uint32_t type;
  std::memcpy(&type, image, sizeof type);
  return type == imageHeaderType;
}

ImageLayout readImageLayout(const void* image, int32_t depthForZero) {
  auto* bytes = static_cast<uint8_t*>(const_cast<void*>(image));
  if (isImageHeader(image)) {
    ImageHeader header;
    std::memcpy(&header, bytes, sizeof header);
    return {header.bpp, header.width, header.height, header.pitch, bytes + sizeof header, false};
  }
  ShortImageHeader header;
  std::memcpy(&header, bytes, sizeof header);
  int32_t bpp = header.widthAndBpp & 7;
  if (bpp == 0) bpp = depthForZero;
  int32_t width = header.widthAndBpp >> 3;
  return {bpp, width, header.height, bpp * width, bytes + sizeof header, true};
}

int64_t paddedPitch(int64_t width, int32_t bytesPerPixel) {
  int64_t pitch = (width * bytesPerPixel + 15) & ~int64_t{15};
  return pitch > INT32_MAX ? -1 : pitch;
}

bool isUsableLayout(const ImageLayout& layout) {
  bool depthKnown = layout.bytesPerPixel == 1 || layout.bytesPerPixel == 2 ||
                    layout.bytesPerPixel == 4;
  return depthKnown && layout.width >= 0 && layout.height >= 0 &&
         layout.pitch >= static_cast<int64_t>(layout.width) * layout.bytesPerPixel;
}
