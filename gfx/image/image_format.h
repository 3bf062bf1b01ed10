// The two in-memory image forms: the 32-byte ImageHeader that createImage
// makes and the older 4-byte ShortImageHeader, and how readers see either.
#pragma once

#include <cstdint>
#include <cstring>

namespace krgfx {

constexpr uint32_t imageHeaderType = 7;

struct ImageHeader {
  uint32_t type;  // imageHeaderType
  int32_t bpp;    // bytes per pixel: 1, 2 or 4
  int32_t width;
  int32_t height;
  int32_t pitch;  // bytes from one row start to the next
  uint8_t reserved[12];
};
static_assert(sizeof(ImageHeader) == 32);

struct ShortImageHeader {
  uint16_t widthAndBpp;  // bits 0-2 bytes per pixel (0: the target's), bits 3-15 width
  uint16_t height;
};
static_assert(sizeof(ShortImageHeader) == 4);

// The mask colours: what createImage fills with by default, and what the
// transparent row combiners skip (for 32-bit pixels only the low 24 bits count).
constexpr uint32_t transparentFill8 = 0;
constexpr uint32_t transparentFill16 = 0xF81F;
constexpr uint32_t transparentFill32 = 0xFFFF00FF;
constexpr uint32_t transparentColour32 = 0x00FF00FF;
constexpr uint32_t colourBits32 = 0x00FFFFFF;

uint32_t transparentFill(int32_t bytesPerPixel);

// An image as readers see it, whichever header it has.
struct ImageLayout {
  int32_t bytesPerPixel;
  int32_t width;
  int32_t height;
  int32_t pitch;
  uint8_t* pixels;
  bool shortHeader;
};

inline bool isImageHeader(const void* image) {
  uint32_t type;
  std::memcpy(&type, image, sizeof type);
  return type == imageHeaderType;
}

// Reads either header; a short header's depth bits of 0 take depthForZero.
// (Inline: drawImage reads a header on every call.)
inline ImageLayout readImageLayout(const void* image, int32_t depthForZero) {
  auto* bytes = static_cast<uint8_t*>(const_cast<void*>(image));
  if (isImageHeader(image)) {
    int32_t fields[4];  // bpp, width, height, pitch
    std::memcpy(fields, bytes + 4, sizeof fields);
    return {fields[0], fields[1], fields[2], fields[3], bytes + sizeof(ImageHeader), false};
  }
  ShortImageHeader header;
  std::memcpy(&header, bytes, sizeof header);
  int32_t bpp = header.widthAndBpp & 7;
  if (bpp == 0) bpp = depthForZero;
  int32_t width = header.widthAndBpp >> 3;
  return {bpp, width, header.height, bpp * width, bytes + sizeof header, true};
}

// Bytes per row of a new image (rows padded to 16 bytes), or -1 when the
// row would not fit a 32-bit size.
int64_t paddedPitch(int64_t width, int32_t bytesPerPixel);

// True when the layout describes rows that stay within height x pitch bytes
// and a depth that has pixel routines.
inline bool isUsableLayout(const ImageLayout& layout) {
  bool depthKnown = layout.bytesPerPixel == 1 || layout.bytesPerPixel == 2 ||
                    layout.bytesPerPixel == 4;
  return depthKnown && layout.width >= 0 && layout.height >= 0 &&
         layout.pitch >= static_cast<int64_t>(layout.width) * layout.bytesPerPixel;
}

}  // namespace krgfx
