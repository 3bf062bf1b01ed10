// A PNG stream read whole for the decoder, with the chunks it must not see
// left out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace krgfx {

// Reads the stream from its position to its end into bytes, without empty
// image-data chunks: they carry nothing, and the decoder copies an empty one
// that comes first into a buffer it has not made yet (a null pointer). 0;
// errNoMemory for a stream too large to hold (over 1 GiB), errIoFailed for
// a read error.
int32_t readPngStream(std::FILE* file, std::vector<uint8_t>& bytes);

// The same bytes without empty IDAT chunks. Chunks are walked from the
// signature on while whole; what follows the last whole one is kept as it
// is, for the decoder to refuse.
void dropEmptyDataChunks(std::vector<uint8_t>& png);

}  // namespace krgfx
