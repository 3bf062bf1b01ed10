// The row combiner tables: the transparent row combiner of each target depth,
// in a plain and in vector forms with identical results.
#pragma once

#include <cstring>
#include <type_traits>

#include <krgfx/image.h>
#include "gfx/image/image_format.h"

namespace krgfx {

// Slots by the target's bytes per pixel minus 1; the 3-byte slot is empty.
struct RowCombinerTable {
  RowCombiner slots[4];
};

extern const RowCombinerTable plainCombinerTable;
extern const RowCombinerTable sse2CombinerTable;
extern const RowCombinerTable avx2CombinerTable;

// The table for the processor's best vector level (plain when overridden so).
const RowCombinerTable& vectorCombinerTable();

// The individual forms, for tests and benchmarks that compare them.
namespace combiners {
// The function type of a RowCombiner, for declaring the forms below.
using RowCombinerRoutine = std::remove_pointer_t<RowCombiner>;

RowCombinerRoutine transparent8Plain;
RowCombinerRoutine transparent16Plain;
RowCombinerRoutine transparent32Plain;
RowCombinerRoutine alphaMaskPlain;
RowCombinerRoutine transparent8Sse2;
RowCombinerRoutine transparent16Sse2;
RowCombinerRoutine transparent32Sse2;
RowCombinerRoutine alphaMaskSse2;
RowCombinerRoutine transparent8Avx2;
RowCombinerRoutine transparent16Avx2;
RowCombinerRoutine transparent32Avx2;
RowCombinerRoutine alphaMaskAvx2;

// One pixel of each plain form; the vector forms finish their rows with these.
inline void transparentPixel8(const uint8_t* source, uint8_t* destination) {
  if (*source != 0) *destination = *source;
}
inline void transparentPixel16(const uint8_t* source, uint8_t* destination) {
  uint16_t pixel;
  std::memcpy(&pixel, source, 2);
  if (pixel != transparentFill16) std::memcpy(destination, &pixel, 2);
}
inline void transparentPixel32(const uint8_t* source, uint8_t* destination) {
  uint32_t pixel;
  std::memcpy(&pixel, source, 4);
  pixel &= colourBits32;
  if (pixel != transparentColour32) std::memcpy(destination, &pixel, 4);
}
inline void alphaMaskPixel(const uint8_t* source, uint8_t* destination) {
  uint32_t pixel;
  std::memcpy(&pixel, destination, 4);
  pixel = (pixel & colourBits32) | static_cast<uint32_t>(*source) << 24;
  std::memcpy(destination, &pixel, 4);
}
}  // namespace combiners

}  // namespace krgfx
