// Raw dumps: a payload copied byte for byte into an image or memory block,
// or into the screen's work page followed by an optional palette.
#include <algorithm>
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/file_reading.h"
#include "gfx/image/image_format.h"
#include "gfx/image/image_loader.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

constexpr int32_t shortDump = 0xFD;

bool readLength(std::FILE* file, int32_t kind, uint32_t* length) {
  if (kind != shortDump) return readU32(file, length);
  uint16_t shortLength;
  if (!skipBytes(file, 4) || !readU16(file, &shortLength)) return false;
  *length = shortLength;
  return true;
}

// The bytes the image a header describes may read or write, taking the
// widest depth a short header can stand for.
int64_t bytesDescribed(const uint8_t* header) {
  ImageLayout layout = readImageLayout(header, 4);
  if (!layout.shortHeader) {
    if (!isUsableLayout(layout)) return INT64_MAX;
    return int64_t{32} + int64_t{layout.height} * layout.pitch;
  }
  int32_t screenBpp = gfxScreen ? gfxScreen->bytesPerPixel : 4;
  int64_t widest = std::max(layout.bytesPerPixel, screenBpp);
  return 4 + int64_t{layout.width} * layout.height * widest;
}

// An ImageHeader destination holds 32 + height x pitch bytes: the dump copies
// no more, and is refused (errBadCall, nothing written) when the header it
// brings would describe a bigger image than the block holds.
int32_t dumpIntoImage(std::FILE* file, uint32_t length, uint8_t* image) {
  ImageLayout layout = readImageLayout(image, 4);
  if (!isUsableLayout(layout)) return errBadCall;
  int64_t capacity = int64_t{32} + int64_t{layout.height} * layout.pitch;
  uint8_t header[32];
  std::memcpy(header, image, sizeof header);
  size_t wanted = std::min<size_t>(length, sizeof header);
  size_t got = std::fread(header, 1, wanted, file);
  if (std::ferror(file)) return errIoFailed;
  if (bytesDescribed(header) > capacity) return errBadCall;
  std::memcpy(image, header, got);
  if (got < wanted) return 0;
  int64_t rest = std::min<int64_t>(length, capacity) - static_cast<int64_t>(got);
  std::fread(image + got, 1, static_cast<size_t>(std::max<int64_t>(rest, 0)), file);
  return std::ferror(file) ? errIoFailed : 0;
}

// A memory block of unknown size: the caller vouches for `length` bytes.
int32_t dumpIntoMemory(std::FILE* file, uint32_t length, void* destination) {
  auto* bytes = static_cast<uint8_t*>(destination);
  if (isImageHeader(bytes)) return dumpIntoImage(file, length, bytes);
  std::fread(bytes, 1, length, file);
  return std::ferror(file) ? errIoFailed : 0;
}

// The palette after a screen dump: three 6-bit components per entry, one
// entry per colour of a screen of up to 8 bits (deeper screens have none).
void readDumpPalette(std::FILE* file, uint32_t* palette) {
  GfxScreen& screen = *gfxScreen;
  int32_t entries = screen.depth <= 8 ? 1 << screen.depth : 0;
  if (entries == 0) return;
  for (int32_t i = 0; i < entries; ++i) {
    uint8_t rgb[3];
    if (!readBytes(file, rgb, sizeof rgb)) break;
    uint32_t colour = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
    if (palette)
      palette[i] = colour;
    else
      screen.devicePalette[i] = (colour << 2) & 0xFCFCFC;
  }
  if (!palette) refreshDisplayPalette();
}

// The payload beyond the work page is skipped, so that the palette is read
// from where it stands in the file.
int32_t dumpOntoScreen(std::FILE* file, uint32_t length, uint32_t* palette) {
  GfxScreen& screen = *gfxScreen;
  const DrawContext& context = currentContext();
  lockScreen();
  uint8_t* page = screen.pages[context.workPage];
  size_t wanted = static_cast<size_t>(
      std::min<int64_t>(length, int64_t{screen.pitch} * screen.height));
  size_t got = std::fread(page, 1, wanted, file);
  int32_t result = std::ferror(file) ? errIoFailed : 0;
  if (page == screen.visibleFramebuffer) markAllRowsDirty();
  if (!std::feof(file) && !std::ferror(file) && skipBytes(file, int64_t{length} - int64_t(got)))
    readDumpPalette(file, palette);
  unlockScreen(1, 0);
  return result;
}

}  // namespace

int32_t loadRawDump(std::FILE* file, int32_t kind, void* destination, uint32_t* palette) {
  uint32_t length;
  if (!readLength(file, kind, &length)) return errIoFailed;
  if (destination) return dumpIntoMemory(file, length, destination);
  return dumpOntoScreen(file, length, palette);
}

}  // namespace krgfx
