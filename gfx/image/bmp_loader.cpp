// BMP files: headers, palette and channel masks, then the pixel rows one by
// one through a row converter into the target's depth.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/bmp_header.h"
#include "gfx/image/bmp_rle.h"
#include "gfx/image/file_reading.h"
#include "gfx/image/image_format.h"
#include "gfx/image/image_loader.h"
#include "gfx/image/load_target.h"
#include "gfx/image/row_converters.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// The palette after the info header as 0x00BBGGRR, reduced to 6-bit
// components when it goes to the caller. Entries past the end of the file
// stay 0.
void readPalette(std::FILE* file, const BmpHeader& bmp, bool sixBit, uint32_t* colours) {
  std::fseek(file, bmpFileHeaderSize + static_cast<long>(bmp.headerSize), SEEK_SET);
  int32_t entrySize = bmp.paletteEntrySize();
  uint8_t raw[256 * 4] = {};
  std::fread(raw, 1, static_cast<size_t>(bmp.paletteEntries() * entrySize), file);
  for (int32_t i = 0; i < bmp.paletteEntries(); ++i) {
    const uint8_t* entry = raw + i * entrySize;  // blue, green, red
    uint32_t colour = entry[2] | entry[1] << 8 | entry[0] << 16;
    colours[i] = sixBit ? (colour >> 2) & 0x3F3F3F : colour;
  }
}

int32_t readChannelMasks(std::FILE* file, const BmpHeader& bmp, ChannelMask* channels) {
  uint32_t masks[channelCount] = {0x7C00, 0x03E0, 0x001F, 0};
  if (bmp.compression == compressionBitFields && bmp.headerSize <= 40) {
    for (int32_t i = channelRed; i <= channelBlue; ++i)
      if (!readU32(file, &masks[i])) return errIoFailed;
  } else if (bmp.compression == compressionBitFields) {
    std::copy(bmp.masks, bmp.masks + channelCount, masks);
  } else if (bmp.bitCount > 16) {
    const uint32_t wide[channelCount] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    std::copy(wide, wide + channelCount, masks);
  }
  for (int32_t i = 0; i < channelCount; ++i) channels[i] = channelMaskOf(masks[i]);
  return 0;
}

// One row of the file: bit counts below 8 pack several pixels into a byte
// (a new byte every 8 / bit count pixels, top bits first); the others take
// (bit count + 7) / 8 bytes per pixel. Rows are padded to 4 bytes.
struct RowLayout {
  int32_t bitCount;
  int32_t pixelsPerByte;  // 0 for unpacked rows
  int32_t kept;           // pixels converted
  int64_t dataBytes;      // the bytes of the row's pixels
  int64_t paddedBytes;
  int64_t keptBytes;  // the bytes of the kept pixels
};

int64_t bytesFor(int64_t pixels, int32_t pixelsPerByte, int32_t bitCount) {
  if (pixelsPerByte) return (pixels + pixelsPerByte - 1) / pixelsPerByte;
  return pixels * ((bitCount + 7) / 8);
}

RowLayout rowLayoutOf(int32_t bitCount, int32_t width, int32_t kept) {
  int32_t pixelsPerByte = bitCount < 8 ? 8 / bitCount : 0;
  int64_t dataBytes = bytesFor(width, pixelsPerByte, bitCount);
  return {bitCount,
          pixelsPerByte,
          kept,
          dataBytes,
          (dataBytes + 3) & ~int64_t{3},
          bytesFor(kept, pixelsPerByte, bitCount)};
}

// Reads one row; the kept pixels land in `pixels` (one index byte each for
// packed rows). False when the file ends within the row's pixel data.
bool readRow(std::FILE* file, const RowLayout& row, uint8_t* buffer, uint8_t* pixels) {
  if (!readBytes(file, buffer, static_cast<size_t>(row.keptBytes)) ||
      !skipBytes(file, row.dataBytes - row.keptBytes))
    return false;
  if (!row.pixelsPerByte) return skipBytes(file, row.paddedBytes - row.dataBytes);
  skipBytes(file, row.paddedBytes - row.dataBytes);  // the last row's padding may be missing
  uint32_t byte = 0;
  for (int32_t x = 0; x < row.kept; ++x) {
    if (x % row.pixelsPerByte == 0) byte = buffer[x / row.pixelsPerByte];
    pixels[x] = static_cast<uint8_t>(byte >> (8 - row.bitCount));
    byte = (byte << row.bitCount) & 0xFF;
  }
  return true;
}

void deliverPalette(const BmpHeader& bmp, const uint32_t* colours, uint32_t* palette) {
  std::copy(colours, colours + bmp.paletteEntries(), palette ? palette : gfxScreen->devicePalette);
  if (!palette) refreshDisplayPalette();
}

struct RowWork {
  const RowLayout& row;
  RowConverter convert;
  const ChannelMask* channels;
  uint8_t* buffer;
};

// Rows run from the top for a top-down file and from the bottom otherwise;
// rows and columns beyond the target are read and dropped.
int32_t convertRows(std::FILE* file, const BmpHeader& bmp, const LoadTarget& target,
                    const DrawContext& context, const RowWork& work) {
  uint8_t* pixels = work.row.pixelsPerByte ? work.buffer + work.row.keptBytes : work.buffer;
  for (int32_t i = 0; i < bmp.height; ++i) {
    int32_t y = bmp.topDown ? i : bmp.height - 1 - i;
    if (!readRow(file, work.row, work.buffer, pixels)) return errIoFailed;
    if (y < target.height) work.convert(pixels, context.rowTable[y], target.width, work.channels);
  }
  return 0;
}

}  // namespace

int32_t loadBmp(std::FILE* file, void* destination, uint32_t* palette) {
  if (!gfxScreen) return errBadCall;
  BmpHeader bmp;
  if (int32_t result = readBmpHeader(file, bmp)) return result;
  uint32_t colours[256] = {};
  readPalette(file, bmp, palette != nullptr, colours);
  LoadTarget target;
  if (int32_t result = chooseLoadTarget(destination, bmp.width, bmp.height, target)) return result;
  ChannelMask channels[channelCount];
  if (int32_t result = readChannelMasks(file, bmp, channels)) return result;
  if (bmp.bitCount > 8 && target.bytesPerPixel == 1) return errBadCall;
  if (bmp.bitCount > 32) return errIoFailed;
  RowConverter convert = chooseRowConverter(bmp.bitCount, target.bytesPerPixel);

  // Everything that can fail before the target is touched has been checked.
  RowLayout row = rowLayoutOf(bmp.bitCount, bmp.width, target.width);
  size_t bufferSize = static_cast<size_t>(row.keptBytes + (row.pixelsPerByte ? row.kept : 0));
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bufferSize + 1]);
  if (!buffer) return errNoMemory;

  DrawContext& context = currentContext();
  beginLoad(context, destination, target);
  lockScreen();
  deliverPalette(bmp, colours, palette);
  int32_t result = errIoFailed;
  if (std::fseek(file, static_cast<long>(bmp.dataOffset), SEEK_SET) == 0)
    result = bmp.runLength()
                 ? decodeRle(file, bmp.bitCount, bmp.height,
                             {context.rowTable, target.width, target.height, target.bytesPerPixel,
                              convert, channels})
                 : convertRows(file, bmp, target, context, {row, convert, channels, buffer.get()});
  markLoadedRows(context);
  unlockScreen(1, 0);
  return result;
}

}  // namespace krgfx
