#include "gfx/image/file_reading.h"

#include <algorithm>

namespace krgfx {

bool skipBytes(std::FILE* file, int64_t count) {
  uint8_t scratch[4096];
  while (count > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(count, sizeof scratch));
    if (!readBytes(file, scratch, chunk)) return false;
    count -= static_cast<int64_t>(chunk);
  }
  return true;
}

}  // namespace krgfx
