// The framebuffer pages' memory: 64-byte aligned blocks, so the vector pixel
// routines find whole lines aligned.
#pragma once

#include <cstddef>
#include <cstdint>

namespace krgfx {

constexpr size_t pageAlignment = 64;

// A block of at least `bytes` (rounded up to the alignment), or null.
uint8_t* allocatePage(size_t bytes);
// Frees a block of allocatePage; null is ignored.
void freePage(uint8_t* page);

}  // namespace krgfx
