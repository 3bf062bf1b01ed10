#include <gtest/gtest.h>

#include <krgfx/image.h>
#include <krgfx/runtime.h>

#include <algorithm>

#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

using RawDumpTest = ScreenTest;

std::vector<uint8_t> longDump(const std::vector<uint8_t>& payload, uint32_t length) {
  std::vector<uint8_t> file = {0xFE};
  for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<uint8_t>(length >> shift));
  for (uint8_t byte : payload) file.push_back(byte);
  return file;
}

// `count` bytes `fill`, then `tail`. (Made at its full size at once: growing
// a vector that was just filled makes GCC 12 at -O3 report a false
// -Warray-bounds.)
std::vector<uint8_t> filledThen(size_t count, uint8_t fill, std::initializer_list<uint8_t> tail) {
  std::vector<uint8_t> bytes(count + tail.size(), fill);
  std::copy(tail.begin(), tail.end(), bytes.begin() + static_cast<ptrdiff_t>(count));
  return bytes;
}

// An image header followed by pixel bytes `fill` up to `size` bytes in all.
std::vector<uint8_t> imageHeaderBytes(int32_t bpp, int32_t width, int32_t height, int32_t pitch,
                                      size_t size = sizeof(ImageHeader), uint8_t fill = 0) {
  std::vector<uint8_t> bytes(std::max(size, sizeof(ImageHeader)), fill);
  ImageHeader header{imageHeaderType, bpp, width, height, pitch, {}};
  std::memcpy(bytes.data(), &header, sizeof header);
  return bytes;
}

}  // namespace

TEST_F(RawDumpTest, PayloadGoesToTheBlockAsItStands) {
  std::vector<uint8_t> block(16, 0xCC);
  std::string eight = writeFile("eight.dmp", longDump({1, 2, 3, 4, 5, 6, 7, 8, 9}, 8));
  EXPECT_EQ(loadImageFile(eight, block.data(), nullptr), 0);  // no screen needed
  EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 9),
            (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 0xCC}));
  std::vector<uint8_t> shortForm = {0xFD, 9, 9, 9, 9, 3, 0, 0xA1, 0xA2, 0xA3, 0xA4};
  EXPECT_EQ(loadImageFile(writeFile("short.dmp", shortForm), block.data(), nullptr), 0);
  EXPECT_EQ(block[2], 0xA3);
  EXPECT_EQ(block[3], 4);
  // The file ends before the length: what arrived stays, and that is success.
  std::vector<uint8_t> untouched(16, 0xCC);
  EXPECT_EQ(loadImageFile(writeFile("cut.dmp", longDump({}, 100)), untouched.data(), nullptr), 0);
  EXPECT_EQ(untouched, std::vector<uint8_t>(16, 0xCC));
  EXPECT_EQ(loadImageFile(writeFile("no length.dmp", {0xFE, 1, 0}), block.data(), nullptr),
            errIoFailed);
}

TEST_F(RawDumpTest, ImagesTakeNoMoreThanTheyHold) {
  openNullScreen();
  // A dump of a 2x2 image into a 4x4 one: header and rows copied, the rest stays.
  GuardedImage image(4, 4, 4, 0x11111111);
  std::vector<uint8_t> payload = imageHeaderBytes(4, 2, 2, 16, 32 + 32, 0x77);
  ASSERT_EQ(loadImageFile(writeFile("small.dmp", longDump(payload, 64)), image.data(), nullptr), 0);
  EXPECT_EQ(layoutOf(image.data()).width, 2);
  EXPECT_EQ(pixelAt(image.data(), 1, 1), 0x77777777u);
  EXPECT_EQ(pixelAt(image.data(), 0, 3), 0x11111111u);
  EXPECT_EQ(drawImage(nullptr, 0, 0, image.data(), notGiven, 0, 0, 0, 0, 0, transparentCopy, -1,
                      nullptr, nullptr),
            0);

  // A longer payload stops at the end of the block.
  GuardedImage same(4, 4, 4, 0x11111111);
  payload = imageHeaderBytes(4, 4, 4, 16, 32 + 64 + 500, 0x66);
  ASSERT_EQ(loadImageFile(writeFile("long.dmp", longDump(payload, 596)), same.data(), nullptr), 0);
  EXPECT_EQ(pixelAt(same.data(), 3, 3), 0x66666666u);
  EXPECT_TRUE(same.guardsIntact());

  // A header that would describe more than the block is refused untouched.
  GuardedImage guarded(4, 4, 4, 0x11111111);
  for (const std::vector<uint8_t>& header :
       {imageHeaderBytes(4, 4, 5, 16), imageHeaderBytes(4, 8, 4, 16), imageHeaderBytes(3, 1, 1, 16),
        std::vector<uint8_t>{0xF4, 0x01, 0x10, 0x00}}) {
    std::vector<uint8_t> before(guarded.data(), guarded.data() + 96);
    EXPECT_EQ(loadImageFile(writeFile("big.dmp", longDump(header, 96)), guarded.data(), nullptr),
              errBadCall);
    EXPECT_EQ(std::vector<uint8_t>(guarded.data(), guarded.data() + 96), before);
  }
  EXPECT_TRUE(guarded.guardsIntact());
}

TEST_F(RawDumpTest, ScreenDumpWithPalette) {
  openRecordedScreen(8);
  // Two palette entries after the pixels, then the end.
  std::vector<uint8_t> payload = filledThen(800 * 600, 0x42, {10, 20, 30, 63, 0, 1});
  std::memset(gfxScreen->dirtyLines, 0, 600);
  testing_drivers::calls.clear();
  ASSERT_EQ(loadImageFile(writeFile("screen.dmp", longDump(payload, 800 * 600)), nullptr, nullptr),
            0);
  EXPECT_EQ(screenPixel<uint8_t>(799, 599), 0x42);
  EXPECT_EQ(dirtyRowCount(), 600);
  EXPECT_EQ(gfxScreen->devicePalette[0], 0x785028u);  // each component times 4
  EXPECT_EQ(gfxScreen->devicePalette[1], 0x0400FCu);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI.palette").size(), 256u);
  EXPECT_EQ(testing_drivers::callsStartingWith("GDI.lock").size(), 1u);

  // A payload longer than the screen: the palette is read after all of it.
  std::vector<uint8_t> longer = filledThen(800 * 600 + 10, 0x43, {1, 2, 3});
  uint32_t palette[256] = {};
  ASSERT_EQ(
      loadImageFile(writeFile("longer.dmp", longDump(longer, 800 * 600 + 10)), nullptr, palette),
      0);
  EXPECT_EQ(palette[0], 0x030201u);
  EXPECT_EQ(gfxScreen->devicePalette[0], 0x785028u);
}

TEST_F(RawDumpTest, DeepScreensReadNoPalette) {
  openNullScreen(4, 2, 32);
  std::vector<uint8_t> payload = filledThen(32, 0x10, {1, 2, 3});  // then palette bytes
  uint32_t palette[256] = {};
  ASSERT_EQ(loadImageFile(writeFile("deep.dmp", longDump(payload, 32)), nullptr, palette), 0);
  EXPECT_EQ(screenPixel(3, 1), 0x10101010u);
  EXPECT_EQ(palette[0], 0u);
}

TEST_F(RawDumpTest, FirstByteAndNameRules) {
  EXPECT_EQ(loadImageFile(writeFile("any.dmp", {0xFE, 0, 0, 0, 0}), nullptr, nullptr), errBadCall);
  openNullScreen(4, 2, 32);
  for (const std::vector<uint8_t>& bytes :
       {std::vector<uint8_t>{}, std::vector<uint8_t>{0xFC, 1}, std::vector<uint8_t>{'P', '6'}}) {
    EXPECT_EQ(loadImageFile(writeFile("odd.dmp", bytes), nullptr, nullptr), errIoFailed);
    EXPECT_EQ(runtimeError(), errIoFailed);
  }
  // Only the first 259 characters of a name are used.
  std::string name = writeFile(std::string(259 - tempPath("").size(), 'n'),
                               longDump({9, 9, 9, 9}, 4));
  ASSERT_EQ(name.size(), 259u);
  EXPECT_EQ(loadImageFile(name + ".ignored", nullptr, nullptr), 0);
  EXPECT_EQ(screenPixel(0, 0), 0x09090909u);
}

}  // namespace krgfx
