#include "gfx/image/row_combiners.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx/cpu_features.h"
#include "gfx/draw_context.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

struct Form {
  const char* name;
  RowCombiner plain;
  RowCombiner vector;
  int32_t sourceSize, destinationSize;
  uint32_t transparent;  // written into about half the source pixels
};

std::vector<Form> vectorForms() {
  std::vector<Form> forms = {
      {"8 sse2", combiners::transparent8Plain, combiners::transparent8Sse2, 1, 1, 0},
      {"16 sse2", combiners::transparent16Plain, combiners::transparent16Sse2, 2, 2, 0xF81F},
      {"32 sse2", combiners::transparent32Plain, combiners::transparent32Sse2, 4, 4, 0x7FFF00FF},
      {"mask sse2", combiners::alphaMaskPlain, combiners::alphaMaskSse2, 1, 4, 0},
  };
  if (vectorLevel() == VectorLevel::avx2) {
    forms.push_back({"8 avx2", combiners::transparent8Plain, combiners::transparent8Avx2, 1, 1, 0});
    forms.push_back(
        {"16 avx2", combiners::transparent16Plain, combiners::transparent16Avx2, 2, 2, 0xF81F});
    forms.push_back(
        {"32 avx2", combiners::transparent32Plain, combiners::transparent32Avx2, 4, 4, 0x00FF00FF});
    forms.push_back({"mask avx2", combiners::alphaMaskPlain, combiners::alphaMaskAvx2, 1, 4, 0});
  }
  return forms;
}

// Random rows, about half of their pixels transparent, at a given byte
// offset inside rows with room to spare on both sides.
struct Rows {
  static constexpr int32_t height = 3, margin = 40;
  std::vector<uint8_t> bytes;
  int32_t pitch, offset;

  Rows(std::mt19937& random, int32_t width, int32_t size, int32_t offset, uint32_t transparent)
      : pitch(width * size + 2 * margin), offset(margin + offset) {
    bytes.resize(static_cast<size_t>(pitch) * height);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        if (random() & 1) std::memcpy(first() + y * pitch + x * size, &transparent, size);
  }
  uint8_t* first() { return bytes.data() + offset; }
};

}  // namespace

TEST(RowCombinerTest, VectorFormsMatchThePlainOnesBitForBit) {
  std::mt19937 random(7);
  for (const Form& form : vectorForms()) {
    for (int32_t width = 1; width <= 67; ++width) {
      for (int32_t sourceOffset = 0; sourceOffset < 16; sourceOffset += form.sourceSize) {
        int32_t destinationOffset = (sourceOffset * 7 + width) % 16;
        Rows source(random, width, form.sourceSize, sourceOffset, form.transparent);
        Rows plain(random, width, form.destinationSize, destinationOffset, 0);
        Rows vector = plain;
        form.plain(source.first(), plain.first(), width, Rows::height, source.pitch, plain.pitch,
                   -1, nullptr, nullptr);
        form.vector(source.first(), vector.first(), width, Rows::height, source.pitch, vector.pitch,
                    -1, nullptr, nullptr);
        // Equal everywhere, so also nothing outside the rows was touched.
        ASSERT_EQ(plain.bytes, vector.bytes)
            << form.name << " width " << width << " offset " << sourceOffset;
      }
    }
  }
}

TEST(RowCombinerTest, PlainFormsPerPixel) {
  uint8_t bytes[4] = {0, 9, 0, 7}, byteTarget[4] = {1, 2, 3, 4};
  combiners::transparent8Plain(bytes, byteTarget, 4, 1, 4, 4, -1, nullptr, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(byteTarget, byteTarget + 4), (std::vector<uint8_t>{1, 9, 3, 7}));

  uint16_t words[3] = {0xF81F, 0xF81E, 0x0000}, wordTarget[3] = {5, 5, 5};
  combiners::transparent16Plain(reinterpret_cast<uint8_t*>(words),
                                reinterpret_cast<uint8_t*>(wordTarget), 3, 1, 6, 6, -1, nullptr,
                                nullptr);
  EXPECT_EQ(std::vector<uint16_t>(wordTarget, wordTarget + 3),
            (std::vector<uint16_t>{5, 0xF81E, 0}));

  uint32_t pixels[4] = {0x00FF00FF, 0xFFFF00FF, 0xFF123456, 0x80FF00FE};
  uint32_t pixelTarget[4] = {1, 2, 3, 4};
  combiners::transparent32Plain(reinterpret_cast<uint8_t*>(pixels),
                                reinterpret_cast<uint8_t*>(pixelTarget), 4, 1, 16, 16, -1, nullptr,
                                nullptr);
  EXPECT_EQ(std::vector<uint32_t>(pixelTarget, pixelTarget + 4),
            (std::vector<uint32_t>{1, 2, 0x00123456, 0x00FF00FE}));

  uint8_t mask[2] = {0x00, 0xC3};
  uint32_t masked[2] = {0xFF112233, 0x00445566};
  combiners::alphaMaskPlain(mask, reinterpret_cast<uint8_t*>(masked), 2, 1, 2, 8, -1, nullptr,
                            nullptr);
  EXPECT_EQ(masked[0], 0x00112233u);
  EXPECT_EQ(masked[1], 0xC3445566u);
}

using RowCombinerTableTest = ScreenTest;

TEST_F(RowCombinerTableTest, TransparentCopyPicksItsTableOnceByTheScreen) {
  openNullScreen(64, 48, 16);
  DrawContext& context = currentContext();
  ASSERT_EQ(context.combinerTable, nullptr);
  uint16_t source[2] = {0xF81F, 0x1234}, target[2] = {7, 7};
  transparentCopy(reinterpret_cast<uint8_t*>(source), reinterpret_cast<uint8_t*>(target), 2, 1, 4,
                  4, -1, nullptr, nullptr);
  EXPECT_EQ(target[0], 7);
  EXPECT_EQ(target[1], 0x1234);
  const RowCombinerTable* expected = (gfxScreen->flags & screenMmx) ? &vectorCombinerTable()
                                                                    : &plainCombinerTable;
  EXPECT_EQ(context.combinerTable, expected);
  EXPECT_EQ(plainCombinerTable.slots[2], nullptr);
  EXPECT_EQ(vectorCombinerTable().slots[2], nullptr);
}

TEST_F(RowCombinerTableTest, PlainTableWithoutVectors) {
  overrideVectorLevel(VectorLevel::plain);
  openNullScreen(64, 48, 32);
  EXPECT_EQ(gfxScreen->flags & screenMmx, 0u);
  uint32_t source = 0x01020304, target = 0;
  transparentCopy(reinterpret_cast<uint8_t*>(&source), reinterpret_cast<uint8_t*>(&target), 1, 1, 4,
                  4, -1, nullptr, nullptr);
  EXPECT_EQ(currentContext().combinerTable, &plainCombinerTable);
  EXPECT_EQ(target, 0x00020304u);
}

}  // namespace krgfx
