// Reads the game's frame files as tools/make_assets.py writes them, to tell
// what a drawn frame must look like.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace krgfx {

namespace frame_files {

inline const std::filesystem::path assets = std::filesystem::path(KRGFX_SOURCE_DIR) / "assets";

// File name, size (square) of frames 1 to 5.
struct FrameFile {
  const char* name;
  int32_t size;
};
inline constexpr FrameFile frames[6] = {{"", 0},       {"1.bmp", 32}, {"2.bmp", 32},
                                        {"3.bmp", 32}, {"4.bmp", 32}, {"5.raw", 48}};

inline std::vector<uint8_t> bytesOf(const char* name) {
  std::ifstream in(assets / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline uint32_t word(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value = 0;
  if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

// Pixel (x, y) as 0xFFRRGGBB: bottom-up 24-bit and 8-bit BMPs, and the raw
// dump of a 32-bit image (0xFE, length, image header, rows).
inline uint32_t pixel(const std::vector<uint8_t>& file, int32_t x, int32_t y) {
  if (file.empty()) return 0;
  if (file[0] == 0xFE) {
    const size_t image = 5;
    return word(file, image + 32 + y * word(file, image + 16) + x * 4);
  }
  int32_t height = static_cast<int32_t>(word(file, 22));
  int32_t bits = file[28];
  size_t rowBytes = (static_cast<size_t>(word(file, 18)) * bits / 8 + 3) / 4 * 4;
  size_t at = word(file, 10) + (height - 1 - y) * rowBytes;
  const uint8_t* bgr = bits == 8 ? file.data() + 54 + 4 * file[at + x] : file.data() + at + x * 3;
  return 0xFF000000 | bgr[2] << 16 | bgr[1] << 8 | bgr[0];
}

inline bool transparent(uint32_t pixel) { return (pixel & 0xFFFFFF) == 0xFF00FF; }

}  // namespace frame_files

}  // namespace krgfx
