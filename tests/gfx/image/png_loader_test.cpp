// PNG files made by Pillow (tests/data/png/make_png_files.py) through
// loadImageFile, imageFileInfo and loadImage, and damaged PNG files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/image/png_stream.h"
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

constexpr int32_t width = 13, height = 7;

std::string pngPath(const std::string& name) {
  return std::string(KRGFX_TEST_DATA) + "/png/" + name;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The picture of every file, as make_png_files.py draws it, as 0xAARRGGBB.
uint32_t expectedPixel(const std::string& name, int32_t x, int32_t y) {
  uint32_t red = 19 * x, green = 36 * y, blue = 255 - 19 * x, alpha = 40 * y + 7;
  if (name.starts_with("grey")) green = blue = red;
  if (name == "palette.png") green = 0;
  bool hasAlpha = name == "rgba.png" || name == "grey_alpha.png";
  return (hasAlpha ? alpha : 0xFF) << 24 | red << 16 | green << 8 | blue;
}

class PngLoaderTest : public ScreenTest {};

// An image-data chunk with no data, with its true check value.
const std::vector<uint8_t> emptyDataChunk = {0,   0,   0,    0,    'I',  'D',
                                             'A', 'T', 0x35, 0xAF, 0x06, 0x1E};

// rgba.png with empty image-data chunks before, amid and after its data,
// which is split in two chunks (check values left 0: the decoder reads none).
std::vector<uint8_t> withEmptyDataChunks(const std::vector<uint8_t>& png) {
  constexpr size_t dataChunk = 33, dataSize = 30, end = dataChunk + 12 + dataSize;
  auto at = [&](size_t offset) { return png.begin() + static_cast<ptrdiff_t>(offset); };
  auto dataHeader = [](uint8_t size) {
    return std::vector<uint8_t>{0, 0, 0, size, 'I', 'D', 'A', 'T'};
  };
  std::vector<uint8_t> out(png.begin(), at(dataChunk));
  auto append = [&](const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
  };
  append(emptyDataChunk);
  append(emptyDataChunk);
  append(dataHeader(10));
  out.insert(out.end(), at(dataChunk + 8), at(dataChunk + 18));
  append({0, 0, 0, 0});
  append(emptyDataChunk);
  append(dataHeader(20));
  out.insert(out.end(), at(dataChunk + 18), at(dataChunk + 38));
  append({0, 0, 0, 0});
  append(emptyDataChunk);
  out.insert(out.end(), at(end), png.end());
  return out;
}

}  // namespace

TEST_F(PngLoaderTest, EveryColourTypeLoadsIntoThirtyTwoAndSixteenBits) {
  openNullScreen();
  for (std::string name :
       {"rgb.png", "rgba.png", "grey.png", "grey_alpha.png", "grey16.png", "palette.png"}) {
    GuardedImage image32(4, width + 2, height + 1, 0xFFFF00FF);
    ASSERT_EQ(loadImageFile(pngPath(name), image32.data(), nullptr), 0) << name;
    GuardedImage image16(2, width - 3, height, 0xF81F);
    ASSERT_EQ(loadImageFile(pngPath(name), image16.data(), nullptr), 0) << name;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        uint32_t expected = expectedPixel(name, x, y);
        ASSERT_EQ(pixelAt(image32.data(), x, y), expected) << name << " " << x << "," << y;
        if (x >= width - 3) continue;
        uint32_t packed = (expected >> 19 & 0x1F) << 11 | (expected >> 10 & 0x3F) << 5 |
                          (expected >> 3 & 0x1F);
        ASSERT_EQ(pixelAt<uint16_t>(image16.data(), x, y), packed) << name << " " << x << "," << y;
      }
    EXPECT_EQ(pixelAt(image32.data(), width, 0), 0xFFFF00FFu) << "beyond the picture";
    EXPECT_EQ(pixelAt(image32.data(), 0, height), 0xFFFF00FFu);
    EXPECT_TRUE(image32.guardsIntact());
    EXPECT_TRUE(image16.guardsIntact());
  }
}

TEST_F(PngLoaderTest, TheScreenAndAPlainBlockTakeThePicture) {
  GfxScreen& screen = openNullScreen(10, 5, 32);
  std::memset(screen.dirtyLines, 0, 5);
  ASSERT_EQ(loadImageFile(pngPath("rgb.png"), nullptr, nullptr), 0);
  uint32_t pixel;
  std::memcpy(&pixel, screen.pages[0] + 4 * screen.pitch + 9 * 4, 4);
  EXPECT_EQ(pixel, expectedPixel("rgb.png", 9, 4));
  EXPECT_EQ(dirtyRowCount(), 5);

  std::vector<uint8_t> block(32 + 16 * 4 * height + 64, 0xEE);
  block[0] = 0;  // neither header form with a depth: a plain block
  ASSERT_EQ(loadImageFile(pngPath("rgba.png"), block.data(), nullptr), 0);
  ImageLayout layout = layoutOf(block.data());
  EXPECT_EQ(layout.width, width);
  EXPECT_EQ(layout.height, height);
  EXPECT_EQ(pixelAt(block.data(), 12, 6), expectedPixel("rgba.png", 12, 6));
  EXPECT_EQ(block[32 + 16 * 4 * height], 0xEE);
}

TEST_F(PngLoaderTest, DamagedFilesAreRefusedAndLeaveTheImage) {
  openNullScreen();
  std::vector<uint8_t> good = fileBytes(pngPath("rgba.png"));
  ASSERT_GT(good.size(), 40u);
  std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() - 20));
  std::vector<uint8_t> badCrcData = good;
  badCrcData[good.size() - 25] ^= 0xFF;  // inside the compressed data
  std::vector<uint8_t> huge = good;
  huge[16] = 0x7F;                        // width 2^30 and more: over the decoding limit
  std::vector<uint8_t> overLimit = good;  // 9000 x 9000: more pixels than a load may decode
  for (size_t at : {18, 22}) overLimit[at] = 0x23, overLimit[at + 1] = 0x28;
  std::vector<uint8_t> signatureOnly(good.begin(), good.begin() + 8);
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    int32_t result;
  } cases[] = {{"cut", cut, errIoFailed},
               {"damaged data", badCrcData, errIoFailed},
               {"signature only", signatureOnly, errIoFailed},
               {"huge", huge, errIoFailed},
               {"over the limit", overLimit, errNoMemory}};
  for (const auto& c : cases) {
    GuardedImage image(4, width, height, 0xFFFF00FF);
    EXPECT_EQ(loadImageFile(writeFile("damaged.png", c.bytes), image.data(), nullptr), c.result)
        << c.what;
    EXPECT_EQ(pixelAt(image.data(), 0, 0), 0xFFFF00FFu) << c.what;
    EXPECT_TRUE(image.guardsIntact());
  }
  GuardedImage indices(1, width, height, 0);
  EXPECT_EQ(loadImageFile(pngPath("palette.png"), indices.data(), nullptr), errBadCall);
}

TEST_F(PngLoaderTest, EmptyDataChunksLoadAsIfAbsent) {
  openNullScreen();
  std::vector<uint8_t> good = fileBytes(pngPath("rgba.png"));
  ASSERT_EQ(good.size(), 87u) << "the chunk offsets below are rgba.png's";
  GuardedImage expected(4, width, height, 0);
  ASSERT_EQ(loadImageFile(pngPath("rgba.png"), expected.data(), nullptr), 0);
  GuardedImage image(4, width, height, 0);
  ASSERT_EQ(
      loadImageFile(writeFile("empty_data.png", withEmptyDataChunks(good)), image.data(), nullptr),
      0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      ASSERT_EQ(pixelAt(image.data(), x, y), pixelAt(expected.data(), x, y)) << x << "," << y;

  // Only empty data chunks: no picture.
  std::vector<uint8_t> noData(good.begin(), good.begin() + 33);
  noData.insert(noData.end(), emptyDataChunk.begin(), emptyDataChunk.end());
  noData.insert(noData.end(), good.end() - 12, good.end());
  EXPECT_EQ(loadImageFile(writeFile("no_data.png", noData), image.data(), nullptr), errIoFailed);
}

TEST(PngStream, OnlyWholeEmptyDataChunksAreDropped) {
  const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
  const std::vector<uint8_t> text = {0, 0, 0, 1, 't', 'E', 'X', 't', 'x', 1, 2, 3, 4};
  const std::vector<uint8_t> emptyEnd = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 5, 6, 7, 8};
  auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
  };
  std::vector<uint8_t> cutTail(emptyDataChunk.begin(), emptyDataChunk.end() - 1);
  const struct {
    const char* what;
    std::vector<uint8_t> in, out;
  } cases[] = {
      {"first, between and last",
       join({signature, emptyDataChunk, text, emptyDataChunk, emptyEnd, emptyDataChunk}),
       join({signature, text, emptyEnd})},
      {"a cut chunk ends the walk", join({signature, text, emptyDataChunk, cutTail}),
       join({signature, text, cutTail})},
      {"a length past the end", join({signature, {0xFF, 0xFF, 0xFF, 0xFF}, emptyDataChunk}),
       join({signature, {0xFF, 0xFF, 0xFF, 0xFF}, emptyDataChunk})},
      {"signature alone", signature, signature},
      {"shorter than a signature", {0x89, 'P'}, {0x89, 'P'}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = c.in;
    dropEmptyDataChunks(bytes);
    EXPECT_EQ(bytes, c.out) << c.what;
  }
}

TEST_F(PngLoaderTest, FileInfoNeedsNoScreenAndLoadImageSizesItsImage) {
  const struct {
    std::string path;
    int32_t width, height, depth;
  } files[] = {
      {pngPath("rgb.png"), 13, 7, 24},
      {pngPath("rgba.png"), 13, 7, 32},
      {pngPath("grey.png"), 13, 7, 8},
      {pngPath("grey_alpha.png"), 13, 7, 16},
      {std::string(KRGFX_TEST_DATA) + "/bmpsuite/g/pal8.bmp", 127, 64, 8},
      {std::string(KRGFX_TEST_DATA) + "/bmpsuite/g/rgb16-565.bmp", 127, 64, 16},
      {std::string(KRGFX_TEST_DATA) + "/bmpsuite/g/pal4rle.bmp", 127, 64, 4},
  };
  for (const auto& file : files) {
    int32_t w = -1, h = -1, depth = -1;
    EXPECT_EQ(imageFileInfo(file.path, &w, &h, &depth), 0) << file.path;
    EXPECT_EQ(w, file.width);
    EXPECT_EQ(h, file.height);
    EXPECT_EQ(depth, file.depth) << file.path;
  }
  EXPECT_EQ(imageFileInfo(pngPath("rgb.png"), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(imageFileInfo(tempPath("missing.png"), nullptr, nullptr, nullptr), errNoFile);
  EXPECT_EQ(imageFileInfo(writeFile("text.png", {'t', 'e', 'x', 't'}), nullptr, nullptr, nullptr),
            errIoFailed);
  EXPECT_EQ(runtimeError(), errIoFailed);
  // A raw dump of an image gives the image's header.
  std::vector<uint8_t> dump = {0xFE, 32, 0, 0, 0, 7, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0};
  dump.resize(5 + 32, 0);
  int32_t w, h, depth;
  EXPECT_EQ(imageFileInfo(writeFile("dump.img", dump), &w, &h, &depth), 0);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(depth, 16);

  EXPECT_EQ(loadImage(pngPath("rgb.png"), 32), nullptr) << "no screen";
  EXPECT_EQ(runtimeError(), errBadCall);
  openNullScreen(800, 600, 16);
  void* image = loadImage(pngPath("rgba.png"), 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(runtimeError(), 0);
  ImageLayout layout = layoutOf(image);
  EXPECT_EQ(layout.bytesPerPixel, 2);
  EXPECT_EQ(layout.width, width);
  EXPECT_EQ(layout.height, height);
  destroyImage(image);
  EXPECT_EQ(loadImage(pngPath("rgba.png"), 8), nullptr) << "no indices in a PNG";
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(loadImage(tempPath("missing.bmp"), 32), nullptr);
  EXPECT_EQ(runtimeError(), errNoFile);
}

}  // namespace krgfx
