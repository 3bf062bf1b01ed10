#include "gfx/image/png_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <krgfx/runtime.h>

namespace krgfx {

namespace {

constexpr size_t signatureSize = 8;
constexpr size_t chunkFrame = 12;  // length, type and check value around the data
constexpr size_t streamLimit = size_t{1} << 30;

uint32_t bigEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

// The bytes from the position to the end of a seekable stream, else 0.
size_t bytesLeft(std::FILE* file) {
  long start = std::ftell(file);
  if (start < 0 || std::fseek(file, 0, SEEK_END)) return 0;
  long end = std::ftell(file);
  if (std::fseek(file, start, SEEK_SET)) return 0;
  return end > start ? static_cast<size_t>(end - start) : 0;
}

}  // namespace

void dropEmptyDataChunks(std::vector<uint8_t>& png) {
  if (png.size() < signatureSize) return;
  size_t read = signatureSize, write = signatureSize;
  while (png.size() - read >= chunkFrame) {
    uint64_t whole = chunkFrame + uint64_t{bigEndian32(&png[read])};
    if (whole > png.size() - read) break;
    bool emptyData = whole == chunkFrame && std::memcmp(png.data() + read + 4, "IDAT", 4) == 0;
    if (!emptyData) {
      if (write != read) std::memmove(png.data() + write, png.data() + read, whole);
      write += whole;
    }
    read += whole;
  }
  if (write == read) return;
  std::memmove(png.data() + write, png.data() + read, png.size() - read);
  png.resize(png.size() - (read - write));
}

int32_t readPngStream(std::FILE* file, std::vector<uint8_t>& bytes) {
  constexpr size_t block = 1 << 16;
  bytes.clear();
  // One read takes a file whole: one more byte than it holds shows its end.
  size_t want = std::clamp(bytesLeft(file) + 1, block, streamLimit + 1);
  try {
    for (;;) {
      size_t start = bytes.size();
      if (start > streamLimit) return errNoMemory;
      bytes.resize(start + want);
      size_t got = std::fread(bytes.data() + start, 1, want, file);
      bytes.resize(start + got);
      if (got < want) break;
      want = block;
    }
  } catch (const std::bad_alloc&) {
    return errNoMemory;
  }
  if (std::ferror(file)) return errIoFailed;
  dropEmptyDataChunks(bytes);
  return 0;
}

}  // namespace krgfx
