// Aligned page blocks from the Windows C runtime's aligned heap.
#include <malloc.h>

#include "gfx/page_memory.h"

namespace krgfx {

uint8_t* allocatePage(size_t bytes) {
  size_t rounded = (bytes + pageAlignment - 1) / pageAlignment * pageAlignment;
  return static_cast<uint8_t*>(_aligned_malloc(rounded ? rounded : pageAlignment, pageAlignment));
}

void freePage(uint8_t* page) { _aligned_free(page); }

}  // namespace krgfx
