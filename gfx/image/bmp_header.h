// The headers of a BMP file as the loader reads them.
#pragma once

#include <cstdint>
#include <cstdio>

namespace krgfx {

constexpr int32_t bmpFileHeaderSize = 14;
constexpr uint32_t compressionRle8 = 1;       // runs of 8-bit palette indices
constexpr uint32_t compressionRle4 = 2;       // runs of 4-bit palette indices
constexpr uint32_t compressionBitFields = 3;  // pixels packed under colour masks

struct BmpHeader {
  uint32_t dataOffset;   // from the start of the file
  uint32_t headerSize;   // of the info header: 12, 40, 56, 108 or 124
  int32_t width;         // at least 1
  int32_t height;        // at least 1
  bool topDown;          // rows stored from the top
  int32_t bitCount;      // 1 to 32 decode; above 32 is refused later
  uint32_t compression;  // 0 plain, 1 or 2 run-length (bottom-up only), 3 bit fields
  uint32_t masks[4];     // red, green, blue, alpha as read from a header of 56 bytes or more

  int32_t paletteEntries() const { return bitCount <= 8 ? 1 << bitCount : 0; }
  int32_t paletteEntrySize() const { return headerSize == 12 ? 3 : 4; }
  bool runLength() const {
    return compression == compressionRle8 || compression == compressionRle4;
  }
};

// Reads and checks both headers from the start of the file. 0, or
// errIoFailed for a short read, an unknown header size or values the loader
// does not decode.
int32_t readBmpHeader(std::FILE* file, BmpHeader& header);

}  // namespace krgfx
