// The run-length decoder of BMP files. The data is a series of two-byte
// codes: a count and a value (a run of `count` pixels), or 0 and an escape
// (0 end of line, 1 end of bitmap, 2 a delta of two bytes, 3 to 255 that
// many pixels given one by one, padded to an even number of bytes).
#include "gfx/image/bmp_rle.h"

#include <algorithm>

#include <krgfx/runtime.h>

namespace krgfx {

namespace {

constexpr uint8_t escapeEndOfLine = 0, escapeEndOfBitmap = 1, escapeDelta = 2;

// Reads the stream through a buffer of its own: the codes come two bytes at
// a time.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* file) : file_(file) {}
  bool next(uint8_t& out) {
    if (at_ == end_) {
      end_ = std::fread(buffer_, 1, sizeof buffer_, file_);
      at_ = 0;
      if (end_ == 0) return false;
    }
    out = buffer_[at_++];
    return true;
  }

 private:
  std::FILE* file_;
  uint8_t buffer_[4096];
  size_t at_ = 0, end_ = 0;
};

struct Cursor {
  int64_t x = 0;
  int64_t row = 0;  // counted from the bottom row of the picture
};

// Converts the part of a run that lies inside the kept picture.
void emitRun(const RleOutput& out, int32_t pictureHeight, const Cursor& at, const uint8_t* indices,
             int32_t count) {
  int64_t y = pictureHeight - 1 - at.row;
  if (y < 0 || y >= out.height || at.x >= out.width) return;
  int32_t kept = static_cast<int32_t>(std::min<int64_t>(count, out.width - at.x));
  out.convert(indices, out.rows[y] + at.x * out.bytesPerPixel, kept, out.channels);
}

// The pixels of an encoded run: one index repeated (8-bit), or two indices
// alternating from the byte's high and low halves (4-bit).
void expandRun(int32_t bitCount, uint8_t value, int32_t count, uint8_t* indices) {
  for (int32_t i = 0; i < count; ++i)
    indices[i] = bitCount == 8 ? value : (i & 1 ? value & 0xF : value >> 4);
}

// Reads an absolute run of count pixels and its padding byte, if any.
bool readAbsoluteRun(ByteReader& reader, int32_t bitCount, int32_t count, uint8_t* indices) {
  int32_t bytes = bitCount == 8 ? count : (count + 1) / 2;
  for (int32_t i = 0; i < bytes; ++i) {
    uint8_t byte;
    if (!reader.next(byte)) return false;
    if (bitCount == 8) {
      indices[i] = byte;
    } else {
      indices[2 * i] = byte >> 4;
      indices[2 * i + 1] = byte & 0xF;
    }
  }
  uint8_t padding;
  if (bytes % 2) reader.next(padding);  // the last run of the file may lack it
  return true;
}

}  // namespace

int32_t decodeRle(std::FILE* file, int32_t bitCount, int32_t pictureHeight, const RleOutput& out) {
  ByteReader reader(file);
  Cursor at;
  uint8_t indices[256];
  while (at.row < pictureHeight) {
    uint8_t count, value;
    if (!reader.next(count) || !reader.next(value)) return errIoFailed;
    if (count > 0) {
      expandRun(bitCount, value, count, indices);
      emitRun(out, pictureHeight, at, indices, count);
      at.x += count;
    } else if (value == escapeEndOfLine) {
      at.x = 0;
      ++at.row;
    } else if (value == escapeEndOfBitmap) {
      return 0;
    } else if (value == escapeDelta) {
      uint8_t right, up;
      if (!reader.next(right) || !reader.next(up)) return errIoFailed;
      at.x += right;
      at.row += up;
    } else {
      if (!readAbsoluteRun(reader, bitCount, value, indices)) return errIoFailed;
      emitRun(out, pictureHeight, at, indices, value);
      at.x += value;
    }
  }
  return 0;  // past the top row: nothing more can be drawn
}

}  // namespace krgfx
