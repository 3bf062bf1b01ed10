// imageFileInfo and loadImage: a picture's size read from its file without a
// screen, and a new image of that size filled from the file.
#include <algorithm>
#include <cstring>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/image/bmp_header.h"
#include "gfx/image/file_reading.h"
#include "gfx/image/image_format.h"
#include "gfx/image/image_loader.h"
#include "gfx/image/png_codec.h"

namespace krgfx {

namespace {

struct PictureInfo {
  int32_t width = 0, height = 0, depth = 0;
};

// A raw dump holds the memory image of an image, header first.
int32_t readDumpInfo(std::FILE* file, int32_t kind, PictureInfo& info) {
  uint32_t length = 0;
  uint16_t shortLength;
  uint8_t unused[4];
  if (kind == 0xFD) {
    if (!readBytes(file, unused, sizeof unused) || !readU16(file, &shortLength)) return errIoFailed;
    length = shortLength;
  } else if (!readU32(file, &length)) {
    return errIoFailed;
  }
  uint8_t header[sizeof(ImageHeader)] = {};
  size_t got = std::fread(header, 1, std::min<size_t>(length, sizeof header), file);
  if (got < sizeof(ShortImageHeader)) return errIoFailed;
  if (isImageHeader(header) && got < 20) return errIoFailed;
  ImageLayout layout = readImageLayout(header, 0);
  // The pixel size comes from the file: only 1 to 4 bytes name a depth.
  if (layout.bytesPerPixel < 1 || layout.bytesPerPixel > 4) return errIoFailed;
  info = {layout.width, layout.height, layout.bytesPerPixel * 8};
  return 0;
}

int32_t readBmpInfo(std::FILE* file, PictureInfo& info) {
  BmpHeader bmp;
  if (int32_t result = readBmpHeader(file, bmp)) return result;
  if (bmp.bitCount > 32) return errIoFailed;
  info = {bmp.width, bmp.height, bmp.bitCount};
  return 0;
}

}  // namespace

int32_t readImageInfo(std::FILE* file, int32_t* width, int32_t* height, int32_t* depth) {
  PictureInfo info;
  int kind = std::fgetc(file);
  int32_t result = errIoFailed;
  if (kind == 0xFD || kind == 0xFE) {
    result = readDumpInfo(file, kind, info);
  } else if (kind == 'B' || kind == pngFirstByte) {
    std::rewind(file);
    result = kind == 'B' ? readBmpInfo(file, info)
                         : readPngInfo(file, &info.width, &info.height, &info.depth);
  }
  if (result) return result;
  if (width) *width = info.width;
  if (height) *height = info.height;
  if (depth) *depth = info.depth;
  return 0;
}

int32_t imageFileInfo(const std::string& fileName, int32_t* width, int32_t* height,
                      int32_t* depth) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return setRuntimeError(errNoFile);
  int32_t result = readImageInfo(file, width, height, depth);
  std::fclose(file);
  return setRuntimeError(result);
}

ImageBuffer* loadImage(const std::string& fileName, int32_t depth) {
  int32_t width, height;
  if (imageFileInfo(fileName, &width, &height, nullptr)) return nullptr;
  ImageBuffer* image = createImage(width, height, 0, depth, colourNotGiven);
  if (!image) return nullptr;
  if (int32_t result = loadImageFile(fileName, image, nullptr)) {
    destroyImage(image);
    setRuntimeError(result);
    return nullptr;
  }
  return image;
}

}  // namespace krgfx
