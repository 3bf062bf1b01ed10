// Conversion of one row of BMP pixels into a target row of 1, 2 or 4 bytes
// per pixel.
#pragma once

#include <cstdint>

namespace krgfx {

// What the loader derives from one channel mask of the file.
struct ChannelMask {
  uint32_t shift;    // index of the lowest set bit
  uint32_t bits;     // highest set bit - shift + 1
  uint32_t shifted;  // mask >> shift
};

enum ChannelIndex { channelRed, channelGreen, channelBlue, channelAlpha, channelCount };

ChannelMask channelMaskOf(uint32_t mask);

// A channel value of `bits` bits widened or narrowed to `wanted` bits.
uint32_t scaleChannel(uint32_t value, uint32_t bits, uint32_t wanted);

// Palette converters read one index byte per pixel and ignore the masks.
using RowConverter = void (*)(const uint8_t* source, uint8_t* destination, int32_t count,
                              const ChannelMask* masks);

// The converter for the file's bit count (1 to 32) and the target's bytes per
// pixel, or null when there is none (more than 8 bits into 1 byte per pixel).
RowConverter chooseRowConverter(int32_t bitCount, int32_t destinationBpp);

}  // namespace krgfx
