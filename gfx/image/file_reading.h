// Little-endian reads from a binary stream, each telling whether every byte
// arrived.
#pragma once

#include <cstdint>
#include <cstdio>

namespace krgfx {

inline bool readBytes(std::FILE* file, void* out, size_t count) {
  return std::fread(out, 1, count, file) == count;
}

inline bool readU16(std::FILE* file, uint16_t* out) {
  uint8_t bytes[2];
  if (!readBytes(file, bytes, 2)) return false;
  *out = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  return true;
}

inline bool readU32(std::FILE* file, uint32_t* out) {
  uint8_t bytes[4];
  if (!readBytes(file, bytes, 4)) return false;
  *out = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

// Reads and drops count bytes; false when the stream ends first.
bool skipBytes(std::FILE* file, int64_t count);

}  // namespace krgfx
