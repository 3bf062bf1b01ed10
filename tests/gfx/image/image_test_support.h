// Helpers for the image tests: reading and writing pixels of an image or the
// screen, and writing files to load.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/image/image_format.h"
#include "gfx/screen.h"
#include "support/test_platform.h"

namespace krgfx {

namespace image_test {

inline ImageLayout layoutOf(const void* image) { return readImageLayout(image, 4); }

template <typename Pixel = uint32_t>
Pixel pixelAt(const void* image, int32_t x, int32_t y) {
  ImageLayout layout = layoutOf(image);
  Pixel value;
  std::memcpy(&value, layout.pixels + y * layout.pitch + x * sizeof(Pixel), sizeof value);
  return value;
}

template <typename Pixel = uint32_t>
void setPixel(void* image, int32_t x, int32_t y, Pixel value) {
  ImageLayout layout = layoutOf(image);
  std::memcpy(layout.pixels + y * layout.pitch + x * sizeof(Pixel), &value, sizeof value);
}

template <typename Pixel = uint32_t>
Pixel screenPixel(int32_t x, int32_t y, int32_t page = 0) {
  Pixel value;
  std::memcpy(&value, gfxScreen->pages[page] + y * gfxScreen->pitch + x * sizeof(Pixel),
              sizeof value);
  return value;
}

inline int32_t dirtyRowCount() {
  int32_t count = 0;
  for (int32_t row = 0; row < gfxScreen->height; ++row) count += gfxScreen->dirtyLines[row] != 0;
  return count;
}

inline void clearDirtyRows() { std::memset(gfxScreen->dirtyLines, 0, gfxScreen->height); }

// An ImageHeader image in a block of exactly its size, with guard bytes
// before and after that the tests check afterwards.
class GuardedImage {
 public:
  static constexpr size_t guard = 64;
  static constexpr uint8_t guardByte = 0xA5;

  GuardedImage(int32_t bpp, int32_t width, int32_t height, uint32_t fill) {
    pitch_ = (width * bpp + 15) & ~15;
    size_ = 32 + static_cast<size_t>(pitch_) * height;
    storage_.assign(size_ + 2 * guard + 16, guardByte);
    auto start = (reinterpret_cast<uintptr_t>(storage_.data()) + guard + 15) & ~uintptr_t{15};
    image_ = reinterpret_cast<uint8_t*>(start);
    ImageHeader header{imageHeaderType, bpp, width, height, pitch_, {}};
    std::memcpy(image_, &header, sizeof header);
    for (size_t at = 32; at < size_; at += bpp) std::memcpy(image_ + at, &fill, bpp);
  }
  uint8_t* data() { return image_; }
  int32_t pitch() const { return pitch_; }
  bool guardsIntact() const {
    for (const uint8_t* at = storage_.data(); at < image_; ++at)
      if (*at != guardByte) return false;
    for (const uint8_t* at = image_ + size_; at < storage_.data() + storage_.size(); ++at)
      if (*at != guardByte) return false;
    return true;
  }

 private:
  std::vector<uint8_t> storage_;
  uint8_t* image_;
  int32_t pitch_;
  size_t size_;
};

// A path in the temporary folder that no test running beside this one uses.
inline std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "krgfx" + std::to_string(testProcessId()) + "_" + name;
}

// The files written so far, removed when the test program ends.
inline std::vector<std::string>& writtenFiles() {
  static struct Files {
    std::vector<std::string> paths;
    ~Files() {
      for (const std::string& path : paths) std::remove(path.c_str());
    }
  } files;
  return files.paths;
}

// Writes bytes to a file in the temporary folder and returns its path.
inline std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = tempPath(name);
  writtenFiles().push_back(path);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  if (!file) return path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

}  // namespace image_test

}  // namespace krgfx
