// Reading and checking the file header and info header of a BMP file.
#include "gfx/image/bmp_header.h"

#include <krgfx/runtime.h>
#include "gfx/image/file_reading.h"

namespace krgfx {

namespace {

constexpr uint16_t bmpMagic = 0x4D42;  // "BM"

struct RawFields {
  uint16_t magic;
  uint16_t planes;
  int32_t height;
};

// The 12-byte header: 16-bit sizes, always bottom-up, never compressed.
bool readCoreHeader(std::FILE* file, BmpHeader& header, RawFields& raw) {
  uint16_t width, height, bitCount;
  if (!readU16(file, &width) || !readU16(file, &height) || !readU16(file, &raw.planes) ||
      !readU16(file, &bitCount))
    return false;
  header.width = width;
  raw.height = height;
  header.bitCount = bitCount;
  header.compression = 0;
  return true;
}

// The 40-byte header and the larger ones that extend it with channel masks.
bool readInfoHeader(std::FILE* file, BmpHeader& header, RawFields& raw) {
  uint32_t width, height, imageSize;
  uint16_t bitCount;
  if (!readU32(file, &width) || !readU32(file, &height) || !readU16(file, &raw.planes) ||
      !readU16(file, &bitCount) || !readU32(file, &header.compression) ||
      !readU32(file, &imageSize))
    return false;
  header.width = static_cast<int32_t>(width);
  raw.height = static_cast<int32_t>(height);
  header.bitCount = bitCount;
  if (header.headerSize == 40) return true;
  uint8_t ignored[16];  // resolutions, colours used, colours important
  if (!readBytes(file, ignored, sizeof ignored)) return false;
  for (uint32_t& mask : header.masks)
    if (!readU32(file, &mask)) return false;
  return true;
}

bool knownHeaderSize(uint32_t size) {
  return size == 12 || size == 40 || size == 56 || size == 108 || size == 124;
}

// Run-length data comes with its own bit count (8 for compression 1, 4 for
// 2) and only bottom-up. A bit count of 0 has no pixels. A height of
// INT32_MIN has no positive counterpart.
bool decodable(const BmpHeader& header, const RawFields& raw) {
  if (raw.magic != bmpMagic || raw.planes > 1 || header.width < 1 || raw.height == 0) return false;
  if (header.compression > compressionBitFields) return false;
  if (header.runLength()) {
    int32_t runBits = header.compression == compressionRle8 ? 8 : 4;
    if (raw.height < 0 || header.bitCount != runBits) return false;
  }
  return header.bitCount != 0 && raw.height != INT32_MIN;
}

}  // namespace

int32_t readBmpHeader(std::FILE* file, BmpHeader& header) {
  header = BmpHeader{};
  RawFields raw{};
  uint8_t ignored[8];  // file size and two reserved words
  if (!readU16(file, &raw.magic) || !readBytes(file, ignored, sizeof ignored) ||
      !readU32(file, &header.dataOffset) || !readU32(file, &header.headerSize))
    return errIoFailed;
  if (!knownHeaderSize(header.headerSize)) return errIoFailed;
  bool complete = header.headerSize == 12 ? readCoreHeader(file, header, raw)
                                          : readInfoHeader(file, header, raw);
  if (!complete || !decodable(header, raw)) return errIoFailed;
  header.topDown = raw.height < 0;
  header.height = header.topDown ? -raw.height : raw.height;
  // Offset 0: the data follows the headers, the three mask words that come
  // after a 40-byte header of bit fields, and the palette.
  uint32_t maskBytes = header.headerSize == 40 && header.compression == compressionBitFields ? 12
                                                                                             : 0;
  if (header.dataOffset == 0)
    header.dataOffset = static_cast<uint32_t>(bmpFileHeaderSize) + header.headerSize + maskBytes +
                        header.paletteEntries() * header.paletteEntrySize();
  return 0;
}

}  // namespace krgfx
