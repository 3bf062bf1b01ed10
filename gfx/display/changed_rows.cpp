#include "gfx/display/changed_rows.h"

#include <cstring>

namespace krgfx {

namespace {

// Eight bytes at a time: the C library's memcmp goes a byte at a time in
// WebAssembly, and a whole picture is compared every frame.
uint64_t wordAt(const uint8_t* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, 8);
  return word;
}

uint32_t pixelAt(const uint8_t* bytes) {
  uint32_t pixel;
  std::memcpy(&pixel, bytes, 4);
  return pixel;
}

// The first byte offset from `at` at which the row of `picture` (with the
// forced bits set) differs from `shown`; `bytes` when none does.
size_t firstDifference(const uint8_t* picture, const uint8_t* shown, size_t at, size_t bytes,
                       uint32_t forcedBits) {
  uint64_t forcedWord = forcedBits | static_cast<uint64_t>(forcedBits) << 32;
  for (; at + 8 <= bytes; at += 8)
    if ((wordAt(picture + at) | forcedWord) != wordAt(shown + at)) return at;
  for (; at + 4 <= bytes; at += 4)
    if ((pixelAt(picture + at) | forcedBits) != pixelAt(shown + at)) return at;
  for (; at < bytes; ++at)
    if (picture[at] != shown[at]) return at;
  return bytes;
}

// Copies a row's bytes from `at` (a whole pixel's start) on with the forced
// bits set in its whole pixels.
void copyFrom(const uint8_t* picture, uint8_t* shown, size_t at, size_t bytes,
              uint32_t forcedBits) {
  if (!forcedBits) {
    std::memcpy(shown + at, picture + at, bytes - at);
    return;
  }
  uint64_t forcedWord = forcedBits | static_cast<uint64_t>(forcedBits) << 32;
  for (; at + 8 <= bytes; at += 8) {
    uint64_t word = wordAt(picture + at) | forcedWord;
    std::memcpy(shown + at, &word, 8);
  }
  for (; at + 4 <= bytes; at += 4) {
    uint32_t pixel = pixelAt(picture + at) | forcedBits;
    std::memcpy(shown + at, &pixel, 4);
  }
  std::memcpy(shown + at, picture + at, bytes - at);
}

}  // namespace

std::vector<RowRun> takeChangedRows(const uint8_t* picture, uint8_t* shown, int32_t rowBytes,
                                    int32_t first, int32_t last, int32_t joinGap,
                                    uint32_t forcedBits) {
  std::vector<RowRun> runs;
  if (rowBytes <= 0) return runs;
  size_t bytes = static_cast<size_t>(rowBytes);
  for (int32_t row = first; row <= last; ++row) {
    const uint8_t* now = picture + row * bytes;
    uint8_t* before = shown + row * bytes;
    // The bytes before the first difference are the same already.
    size_t at = firstDifference(now, before, 0, bytes, forcedBits);
    if (at == bytes) continue;
    copyFrom(now, before, at & ~size_t{3}, bytes, forcedBits);
    if (!runs.empty() && row - runs.back().last <= joinGap + 1)
      runs.back().last = row;
    else
      runs.push_back({row, row});
  }
  return runs;
}

}  // namespace krgfx
