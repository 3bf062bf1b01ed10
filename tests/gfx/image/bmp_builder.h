// Builds BMP files for the loader tests.
#pragma once

#include <cstdint>
#include <vector>

namespace krgfx {

namespace image_test {

struct BmpBuilder {
  int32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;  // negative: top-down
  int32_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t dataOffset = 0;          // 0: just past the headers, masks and palette
  std::vector<uint32_t> masks{};    // after a 40-byte header, or inside a larger one
  std::vector<uint32_t> palette{};  // 0x00RRGGBB each
  std::vector<uint8_t> rows{};      // the pixel data as stored, padding included

  static void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
  }
  static void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
  }

  std::vector<uint8_t> infoHeader() const {
    std::vector<uint8_t> info;
    put32(info, headerSize);
    if (headerSize == 12) {
      put16(info, width), put16(info, height), put16(info, 1), put16(info, bitCount);
      return info;
    }
    put32(info, width), put32(info, height), put16(info, 1), put16(info, bitCount);
    put32(info, compression), put32(info, 0);
    while (info.size() < 40 && info.size() < static_cast<size_t>(headerSize)) info.push_back(0);
    if (headerSize > 40)
      for (size_t i = 0; i < 4; ++i) put32(info, i < masks.size() ? masks[i] : 0);
    info.resize(headerSize, 0);
    return info;
  }

  std::vector<uint8_t> bytes() const {
    std::vector<uint8_t> body = infoHeader();
    if (headerSize == 40)
      for (uint32_t mask : masks) put32(body, mask);
    for (uint32_t colour : palette) {
      body.push_back(colour & 0xFF), body.push_back((colour >> 8) & 0xFF);
      body.push_back((colour >> 16) & 0xFF);
      if (headerSize != 12) body.push_back(0);
    }
    std::vector<uint8_t> file = {'B', 'M'};
    put32(file, static_cast<uint32_t>(14 + body.size() + rows.size()));
    put32(file, 0);
    put32(file, dataOffset ? dataOffset : static_cast<uint32_t>(14 + body.size()));
    file.insert(file.end(), body.begin(), body.end());
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
  }
};

}  // namespace image_test

}  // namespace krgfx
