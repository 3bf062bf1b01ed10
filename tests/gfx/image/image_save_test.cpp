// saveImageFile: BMP files of every depth and PNG files, read back by the
// loader and, where the machine has it, by Pillow.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

constexpr int32_t width = 13, height = 7;

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t u32At(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

// A picture whose every pixel differs from its neighbours, in each depth.
uint32_t colour32(int32_t x, int32_t y) {
  return static_cast<uint32_t>(x * 19) << 16 | static_cast<uint32_t>(y * 36) << 8 |
         static_cast<uint32_t>(255 - x * 19);
}
uint16_t colour16(int32_t x, int32_t y) { return static_cast<uint16_t>(x * 2503 + y * 977); }

void* pictureImage(int32_t bpp, uint32_t alpha, int32_t indexLimit = 256) {
  void* image = createImage(width, height, 0, bpp * 8, 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      if (bpp == 1) setPixel<uint8_t>(image, x, y, static_cast<uint8_t>((x * 7 + y) % indexLimit));
      if (bpp == 2) setPixel<uint16_t>(image, x, y, colour16(x, y));
      if (bpp == 4) setPixel<uint32_t>(image, x, y, alpha << 24 | colour32(x, y));
    }
  return image;
}

// Every pixel of a and b, compared through `expected` (a's pixel to b's).
template <typename Pixel, typename Map>
void expectSamePixels(void* a, void* b, Map expected) {
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      ASSERT_EQ(pixelAt<Pixel>(b, x, y), expected(pixelAt<Pixel>(a, x, y))) << x << "," << y;
}

template <typename Pixel>
void expectSamePixels(void* a, void* b) {
  expectSamePixels<Pixel>(a, b, [](Pixel p) { return p; });
}

// Saves `image` under `name` and loads it back into a new image of `depth`.
void* roundTrip(void* image, const std::string& name, int32_t depth,
                const uint32_t* palette = nullptr) {
  std::string path = tempPath(name);
  writtenFiles().push_back(path);
  EXPECT_EQ(saveImageFile(path, image, palette), 0);
  EXPECT_EQ(runtimeError(), 0);
  void* back = createImage(width, height, 0, depth, colourNotGiven);
  EXPECT_EQ(loadImageFile(path, back, nullptr), 0);
  return back;
}

class ImageSaveTest : public ScreenTest {};

}  // namespace

TEST_F(ImageSaveTest, PaletteImagesTakeTheFewestBitsAndComeBackIndexForIndex) {
  openNullScreen(800, 600, 8);
  const struct { int32_t indexLimit, bitCount; } cases[] = {{2, 1}, {16, 4}, {256, 8}};
  for (const auto& c : cases) {
    void* image = pictureImage(1, 0, c.indexLimit);
    std::string name = "indices" + std::to_string(c.bitCount) + ".bmp";
    void* back = roundTrip(image, name, 8);
    expectSamePixels<uint8_t>(image, back);
    std::vector<uint8_t> bytes = fileBytes(tempPath(name));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[28], c.bitCount);
    EXPECT_EQ(u32At(bytes, 46), 1u << c.bitCount) << "colours used";
    EXPECT_EQ(u32At(bytes, 2), bytes.size()) << "file size";
    size_t rowBytes = (width * c.bitCount + 31) / 32 * 4;
    EXPECT_EQ(bytes.size(), u32At(bytes, 10) + rowBytes * height);
    destroyImage(image);
    destroyImage(back);
  }
}

TEST_F(ImageSaveTest, PaletteColoursComeFromTheCallerOrTheScreen) {
  openNullScreen(800, 600, 8);
  void* image = pictureImage(1, 0);
  uint32_t palette[256], loaded[256];
  for (uint32_t i = 0; i < 256; ++i) palette[i] = (i % 64) | ((i / 4) % 64) << 8 | 63 << 16;
  std::string path = tempPath("palette.bmp");
  writtenFiles().push_back(path);
  ASSERT_EQ(saveImageFile(path, image, palette), 0);
  void* back = createImage(width, height, 0, 8, 0);
  ASSERT_EQ(loadImageFile(path, back, loaded), 0);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(loaded[i], palette[i]) << i;  // 6 bits there and back

  gfxScreen->devicePalette[3] = 0x00123456;
  ASSERT_EQ(saveImageFile(path, image, nullptr), 0);
  ASSERT_EQ(loadImageFile(path, back, loaded), 0);
  EXPECT_EQ(loaded[3], (0x00123456u >> 2) & 0x3F3F3F);
  destroyImage(image);
  destroyImage(back);
}

TEST_F(ImageSaveTest, SixteenAndThirtyTwoBitImagesComeBackExactly) {
  openNullScreen();
  void* image16 = pictureImage(2, 0);
  void* back16 = roundTrip(image16, "deep16.bmp", 16);
  expectSamePixels<uint16_t>(image16, back16);
  std::vector<uint8_t> bytes = fileBytes(tempPath("deep16.bmp"));
  EXPECT_EQ(u32At(bytes, 30), 3u) << "bit fields";
  EXPECT_EQ(u32At(bytes, 54), 0xF800u);
  EXPECT_EQ(u32At(bytes, 58), 0x07E0u);
  EXPECT_EQ(u32At(bytes, 62), 0x001Fu);

  for (uint32_t alpha : {0x00u, 0x80u, 0xFFu}) {
    void* image32 = pictureImage(4, alpha);
    void* back32 = roundTrip(image32, "deep32.bmp", 32);
    expectSamePixels<uint32_t>(image32, back32);
    destroyImage(image32);
    destroyImage(back32);
  }
  destroyImage(image16);
  destroyImage(back16);
}

TEST_F(ImageSaveTest, PngKeepsColoursAndAlphaWhenThereIsAny) {
  openNullScreen();
  void* opaque = pictureImage(4, 0);  // alpha 0, as drawing leaves it
  void* back = roundTrip(opaque, "opaque.PNG", 32);
  expectSamePixels<uint32_t>(opaque, back, [](uint32_t p) { return p | 0xFF000000u; });
  std::vector<uint8_t> bytes = fileBytes(tempPath("opaque.PNG"));
  ASSERT_GT(bytes.size(), 26u);
  EXPECT_EQ(bytes[1], 'P');
  EXPECT_EQ(bytes[25], 2) << "colour type: red, green, blue";

  void* translucent = pictureImage(4, 0x40);
  setPixel<uint32_t>(translucent, 3, 3, 0x00ABCDEF);  // one alpha of 0 among the rest
  void* backAlpha = roundTrip(translucent, "alpha.png", 32);
  expectSamePixels<uint32_t>(translucent, backAlpha);

  void* image16 = pictureImage(2, 0);
  void* back16 = roundTrip(image16, "deep16.png", 16);
  expectSamePixels<uint16_t>(image16, back16);
  for (void* image : {opaque, back, translucent, backAlpha, image16, back16}) destroyImage(image);
}

TEST_F(ImageSaveTest, PngOfPaletteImagesHoldsTheirColours) {
  openNullScreen(800, 600, 8);
  void* image = pictureImage(1, 0);
  uint32_t palette[256];
  for (uint32_t i = 0; i < 256; ++i) palette[i] = i % 64 | (63 - i % 64) << 16;
  std::string path = tempPath("indices.png");
  writtenFiles().push_back(path);
  ASSERT_EQ(saveImageFile(path, image, palette), 0);
  void* indices = createImage(width, height, 0, 8, 0);
  EXPECT_EQ(loadImageFile(path, indices, nullptr), errBadCall) << "a PNG holds no indices";
  void* colours = createImage(width, height, 0, 32, 0);
  ASSERT_EQ(loadImageFile(path, colours, nullptr), 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint32_t entry = palette[pixelAt<uint8_t>(image, x, y)];  // 6-bit 0x00BBGGRR
      uint32_t red = entry & 0x3F, blue = entry >> 16 & 0x3F;
      uint32_t expected = 0xFF000000u | (red << 2 | red >> 4) << 16 | (blue << 2 | blue >> 4);
      ASSERT_EQ(pixelAt<uint32_t>(colours, x, y), expected) << x << "," << y;
    }
  destroyImage(image);
  destroyImage(indices);
  destroyImage(colours);
}

TEST_F(ImageSaveTest, TheScreenIsSavedWhole) {
  GfxScreen& screen = openNullScreen(40, 30, 32);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      uint32_t colour = colour32(x % 13, y % 7);
      std::memcpy(screen.pages[0] + y * screen.pitch + x * 4, &colour, 4);
    }
  std::string path = tempPath("screen.bmp");
  writtenFiles().push_back(path);
  ASSERT_EQ(saveImageFile(path, nullptr, nullptr), 0);
  int32_t w = 0, h = 0, depth = 0;
  ASSERT_EQ(imageFileInfo(path, &w, &h, &depth), 0);
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 30);
  EXPECT_EQ(depth, 32);
  void* back = loadImage(path, 32);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(pixelAt<uint32_t>(back, 39, 29), colour32(39 % 13, 29 % 7));
  EXPECT_EQ(pixelAt<uint32_t>(back, 0, 0), colour32(0, 0));
  destroyImage(back);
}

TEST_F(ImageSaveTest, FailuresLeaveNoFileBehind) {
  std::string path = tempPath("refused.bmp");
  EXPECT_EQ(saveImageFile(path, nullptr, nullptr), errBadCall) << "no screen";
  openNullScreen();
  EXPECT_EQ(saveImageFile(tempPath("no such folder/x.bmp"), nullptr, nullptr), errNoFile);
  EXPECT_EQ(runtimeError(), errNoFile);
  uint8_t emptyShort[4] = {4, 0, 5, 0};  // width 0
  EXPECT_EQ(saveImageFile(path, emptyShort, nullptr), errBadCall);
  EXPECT_TRUE(fileBytes(path).empty());
  EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
}

// Pillow reads what the loader reads: each file's pixels printed by Pillow
// are compared with the image that was saved.
TEST_F(ImageSaveTest, PillowReadsEveryDepth) {
  if (std::string(KRGFX_PILLOW_PYTHON).empty()) GTEST_SKIP() << "no Python with Pillow";
  openNullScreen(800, 600, 8);
  for (int32_t i = 0; i < 256; ++i)
    gfxScreen->devicePalette[i] = static_cast<uint32_t>(i) * 0x010305 & 0xFFFFFF;
  struct Saved {
    std::string name;
    void* image;
  };
  std::vector<Saved> saved = {
      {"pil1.bmp", pictureImage(1, 0, 2)},  {"pil4.bmp", pictureImage(1, 0, 16)},
      {"pil8.bmp", pictureImage(1, 0)},     {"pil16.bmp", pictureImage(2, 0)},
      {"pil32.bmp", pictureImage(4, 0x77)}, {"pil32.png", pictureImage(4, 0x77)},
      {"pil16.png", pictureImage(2, 0)}};
  for (Saved& file : saved) {
    std::string path = tempPath(file.name);
    writtenFiles().push_back(path);
    ASSERT_EQ(saveImageFile(path, file.image, nullptr), 0) << file.name;
    std::string listing = path + ".txt";
    writtenFiles().push_back(listing);
    std::string command = std::string(KRGFX_PILLOW_PYTHON) +
                          " -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1])."
                          "convert('RGBA'); print(*[v for p in im.getdata() for v in p])\" \"" +
                          path + "\" > \"" + listing + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(listing);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        uint32_t r, g, b, a;
        ASSERT_TRUE(in >> r >> g >> b >> a) << file.name;
        ImageLayout layout = layoutOf(file.image);
        uint32_t expected;
        if (layout.bytesPerPixel == 1) {
          uint32_t entry = gfxScreen->devicePalette[pixelAt<uint8_t>(file.image, x, y)];
          expected = 0xFF000000u | (entry & 0xFF) << 16 | (entry & 0xFF00) | entry >> 16;
        } else if (layout.bytesPerPixel == 2) {
          uint32_t p = pixelAt<uint16_t>(file.image, x, y);
          uint32_t red = p >> 11, green = p >> 5 & 0x3F, blue = p & 0x1F;
          expected = 0xFF000000u | (red << 3 | red >> 2) << 16 | (green << 2 | green >> 4) << 8 |
                     (blue << 3 | blue >> 2);
        } else {
          expected = pixelAt<uint32_t>(file.image, x, y);
          if (file.name.ends_with(".bmp")) expected |= 0xFF000000u;  // a BMP's 4th byte is padding
        }
        // Pillow widens 5-6-5 channels by scaling (c x 255 / 31), the saver
        // by repeating their top bits: the two may differ by 1.
        uint32_t slack = file.name == "pil16.bmp" ? 1 : 0;
        uint32_t got = a << 24 | r << 16 | g << 8 | b;
        for (int shift = 0; shift < 32; shift += 8) {
          int32_t difference = static_cast<int32_t>(got >> shift & 0xFF) -
                               static_cast<int32_t>(expected >> shift & 0xFF);
          ASSERT_LE(static_cast<uint32_t>(std::abs(difference)), slack)
              << file.name << " " << x << "," << y << " " << std::hex << got << " " << expected;
        }
      }
    destroyImage(file.image);
  }
}

}  // namespace krgfx
