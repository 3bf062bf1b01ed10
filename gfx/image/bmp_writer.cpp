// BMP files of every image depth: a 40-byte info header, bit fields for
// 5-6-5 pixels, a palette for palette indices, and rows stored bottom-up,
// each padded to 4 bytes.
#include <algorithm>
#include <cstring>
#include <vector>

#include <krgfx/runtime.h>
#include "gfx/image/bmp_header.h"
#include "gfx/image/image_saving.h"

namespace krgfx {

namespace {

constexpr int32_t infoHeaderSize = 40;
constexpr int32_t pixelsPerMetre = 2835;  // 72 dots per inch
constexpr uint32_t masks565[3] = {0xF800, 0x07E0, 0x001F};

struct BmpLayout {
  int32_t bitCount;
  int64_t rowBytes;
  int32_t paletteEntries;
  uint32_t dataOffset;
  uint64_t fileSize;
};

// Palette indices take the fewest bits among 1, 4 and 8 that hold every
// index of the picture.
int32_t indexBits(const SavedPicture& picture) {
  uint8_t highest = 0;
  for (int32_t y = 0; y < picture.height; ++y)
    for (int32_t x = 0; x < picture.width; ++x) highest = std::max(highest, picture.rows[y][x]);
  return highest < 2 ? 1 : highest < 16 ? 4 : 8;
}

BmpLayout layoutOf(const SavedPicture& picture) {
  BmpLayout layout{};
  layout.bitCount = picture.bytesPerPixel == 1 ? indexBits(picture) : picture.bytesPerPixel * 8;
  layout.rowBytes = (int64_t{picture.width} * layout.bitCount + 31) / 32 * 4;
  layout.paletteEntries = picture.bytesPerPixel == 1 ? 1 << layout.bitCount : 0;
  int32_t maskBytes = picture.bytesPerPixel == 2 ? 12 : 0;
  layout.dataOffset = static_cast<uint32_t>(bmpFileHeaderSize + infoHeaderSize + maskBytes +
                                            layout.paletteEntries * 4);
  layout.fileSize = layout.dataOffset + static_cast<uint64_t>(layout.rowBytes) * picture.height;
  return layout;
}

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::vector<uint8_t> headersOf(const SavedPicture& picture, const BmpLayout& layout) {
  std::vector<uint8_t> out{'B', 'M'};
  put32(out, static_cast<uint32_t>(layout.fileSize));
  put32(out, 0);  // two reserved words
  put32(out, layout.dataOffset);
  put32(out, infoHeaderSize);
  put32(out, static_cast<uint32_t>(picture.width));
  put32(out, static_cast<uint32_t>(picture.height));  // positive: bottom-up
  put16(out, 1);                                      // planes
  put16(out, static_cast<uint32_t>(layout.bitCount));
  put32(out, picture.bytesPerPixel == 2 ? compressionBitFields : 0);
  put32(out, static_cast<uint32_t>(layout.rowBytes * picture.height));
  put32(out, pixelsPerMetre);
  put32(out, pixelsPerMetre);
  put32(out, static_cast<uint32_t>(layout.paletteEntries));  // colours used
  put32(out, 0);                                             // colours important
  if (picture.bytesPerPixel == 2)
    for (uint32_t mask : masks565) put32(out, mask);
  for (int32_t i = 0; i < layout.paletteEntries; ++i) {
    uint32_t colour = picture.colours[i];  // 0x00BBGGRR
    out.insert(out.end(), {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                           static_cast<uint8_t>(colour), 0});
  }
  return out;
}

// One row as stored: indices packed from the top bits of each byte, other
// pixels as they lie in memory (5-6-5 words and 0xAARRGGBB words are both
// little-endian, the 32-bit word giving blue, green, red and alpha bytes).
void packRow(const SavedPicture& picture, int32_t bitCount, const uint8_t* in, uint8_t* out) {
  if (picture.bytesPerPixel > 1 || bitCount == 8) {
    std::memcpy(out, in, static_cast<size_t>(picture.width) * picture.bytesPerPixel);
    return;
  }
  int32_t perByte = 8 / bitCount;
  for (int32_t x = 0; x < picture.width; ++x)
    out[x / perByte] |= static_cast<uint8_t>(in[x] << (8 - bitCount * (x % perByte + 1)));
}

}  // namespace

int32_t writeBmp(std::FILE* file, const SavedPicture& picture) {
  BmpLayout layout = layoutOf(picture);
  if (layout.fileSize > UINT32_MAX) return errBadCall;
  std::vector<uint8_t> headers = headersOf(picture, layout);
  if (std::fwrite(headers.data(), 1, headers.size(), file) != headers.size()) return errIoFailed;
  std::vector<uint8_t> row(static_cast<size_t>(layout.rowBytes));
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    packRow(picture, layout.bitCount, picture.rows[y], row.data());
    if (std::fwrite(row.data(), 1, row.size(), file) != row.size()) return errIoFailed;
  }
  return 0;
}

}  // namespace krgfx
