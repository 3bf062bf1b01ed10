// The display-independent print engine.
#include "gfx/text/print_engine.h"

#include <algorithm>
#include <cstring>

#include "gfx/text/bell.h"

namespace krgfx {

namespace {

constexpr uint8_t bel = 7, bs = 8, tab = 9, lf = 10, cr = 13;

int32_t regionWidth(const PrintRegion& region) { return region.right - region.left + 1; }

bool belowView(const PrintRegion& region) {
  return region.bottom != -1 && region.y > region.bottom;
}

// Bytes waiting to be drawn, and the column they will reach.
class Batch {
 public:
  explicit Batch(PrintRegion& region)
      : region_(region), column_(std::clamp(region.x, region.left, region.right + 1)) {}

  void append(const uint8_t* bytes, int32_t count) {
    if (size_ + count > printBatchSize) flush();
    column_ += count;
    if (column_ > region_.right)
      column_ = (column_ - region_.left) % regionWidth(region_) + region_.left;
    std::memcpy(bytes_ + size_, bytes, static_cast<size_t>(count));
    size_ += count;
  }

  void appendTab() {
    static const uint8_t spaces[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    int32_t offset = column_ - region_.left;
    append(spaces, ((offset + 8) & ~7) - offset);
  }

  void flush() {
    if (size_ == 0) return;
    writeRun(region_, bytes_, size_);
    size_ = 0;
  }

  bool empty() const { return size_ == 0; }
  // After the cursor moved by a control character the column follows it.
  void followCursor() { column_ = std::clamp(region_.x, region_.left, region_.right + 1); }

 private:
  PrintRegion& region_;
  int32_t column_;
  int32_t size_ = 0;
  uint8_t bytes_[printBatchSize];
};

}  // namespace

void scrollToCursor(PrintRegion& region) {
  if (!belowView(region)) return;
  region.scroll(region, region.left, region.top, region.right, region.bottom,
                region.y - region.bottom);
  region.y = region.bottom;
}

void writeRun(PrintRegion& region, const uint8_t* bytes, int32_t count) {
  if (regionWidth(region) <= 0) return;
  while (count > 0) {
    // A cursor left beyond an edge continues at the start of the next row.
    if (region.x < region.left) region.x = region.left;
    if (region.x > region.right) region.x = region.left, ++region.y;
    scrollToCursor(region);
    int32_t run = std::min(count, region.right - region.x + 1);
    if (region.write(region, bytes, run) != 1) return;
    bytes += run;
    count -= run;
    region.x += run;
    if (region.x == region.right + 1) region.x = region.left, ++region.y;
  }
}

void printToRegion(PrintRegion& region, const uint8_t* bytes, int32_t length,
                   bool lfReturnsCarriage) {
  if (regionWidth(region) <= 0 || length <= 0 || !bytes) return;
  Batch batch(region);
  bool moved = false;
  for (int32_t i = 0; i < length; ++i) {
    uint8_t byte = bytes[i];
    switch (byte) {
      case bel:
        ringBell();
        continue;
      case tab:
        batch.appendTab();
        continue;
      case bs:
      case lf:
      case cr:
        break;
      default:
        batch.append(&byte, 1);
        continue;
    }
    batch.flush();
    if (byte == bs) {
      if (region.x > region.left) --region.x;
    } else if (byte == lf) {
      if (lfReturnsCarriage) region.x = region.left;
      ++region.y;
    } else {
      region.x = region.left;
    }
    batch.followCursor();
    moved = true;
  }
  if (!batch.empty())
    batch.flush();
  else if (moved)
    scrollToCursor(region);
}

}  // namespace krgfx
