// Aligned page blocks from the C library's aligned_alloc.
#include <cstdlib>

#include "gfx/page_memory.h"

namespace krgfx {

uint8_t* allocatePage(size_t bytes) {
  size_t rounded = (bytes + pageAlignment - 1) / pageAlignment * pageAlignment;
  return static_cast<uint8_t*>(
      std::aligned_alloc(pageAlignment, rounded ? rounded : pageAlignment));
}

void freePage(uint8_t* page) { std::free(page); }

}  // namespace krgfx
