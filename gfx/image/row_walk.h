// Walks the rows of a row combiner call: whole blocks first, then the
// remaining pixels one by one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace krgfx {

// Block(source, destination) handles PerBlock pixels; Pixel handles one.
template <int32_t PerBlock, int32_t SourceSize, int32_t DestinationSize, typename Block,
          typename Pixel>
inline void walkRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                     int32_t sourcePitch, int32_t destinationPitch, Block block, Pixel pixel) {
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* in = source + static_cast<ptrdiff_t>(row) * sourcePitch;
    uint8_t* out = destination + static_cast<ptrdiff_t>(row) * destinationPitch;
    int32_t x = 0;
    for (; x + PerBlock <= width; x += PerBlock)
      block(in + x * SourceSize, out + x * DestinationSize);
    for (; x < width; ++x) pixel(in + x * SourceSize, out + x * DestinationSize);
  }
}

}  // namespace krgfx
