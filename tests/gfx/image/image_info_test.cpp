// File information from a raw dump whose header names an impossible pixel size.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <krgfx/image.h>
#include <krgfx/runtime.h>

namespace krgfx {

TEST(ImageFileInfo, ARawDumpWithAnImpossiblePixelSizeIsRefused) {
  // A 0xFD dump whose image header claims about 1.6 billion bytes a pixel
  // (found by fuzzing: the depth overflowed).
  const std::vector<unsigned char> bytes = {
      0xFD, 0x00, 0x00, 0x00, 0x00, 0x28, 0x00, 0x07, 0x00, 0x00, 0x00, 0x04,
      0xFF, 0xFF, 0x61, 0x70, 0x00, 0x24, 0xD0, 0x00, 0x00, 0x00, 0x00, 0xA0,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  std::string name = ::testing::TempDir() + "impossible_pixel_size.raw";
  std::FILE* file = std::fopen(name.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  int32_t width = -7, height = -7, depth = -7;
  EXPECT_EQ(imageFileInfo(name, &width, &height, &depth), errIoFailed);
  EXPECT_EQ(depth, -7);
  std::remove(name.c_str());
}

}  // namespace krgfx
