#include "game/sprite_set.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "game/frame_files.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

namespace fs = std::filesystem;

using frame_files::assets;
constexpr uint32_t background = 0xFF000000;

class SpriteSetTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    directory = fs::temp_directory_path() / ("sprite_set_test_" + std::to_string(testProcessId()));
    fs::create_directories(directory);
  }
  void TearDown() override {
    sprites.releaseImages();
    fs::remove_all(directory);
    ScreenTest::TearDown();
  }
  std::string writeIndex(const std::string& text) {
    fs::path index = directory / "test.spr";
    std::ofstream(index, std::ios::binary) << text;
    return index.string();
  }
  static uint32_t screenPixel(int32_t x, int32_t y) {
    uint32_t value;
    std::memcpy(&value, gfxScreen->visibleFramebuffer + y * gfxScreen->pitch + x * 4, 4);
    return value;
  }
  static bool screenIsBlank() {
    for (int32_t y = 0; y < gfxScreen->height; ++y) {
      for (int32_t x = 0; x < gfxScreen->width; ++x) {
        if (screenPixel(x, y) != background) return false;
      }
    }
    return true;
  }
  // Frame n drawn at (x, y) shows every pixel of its file but the magenta ones.
  void expectDrawnAsInFile(int32_t n, int32_t x, int32_t y) {
    const SpriteFrame& frame = sprites.frames[n - 1];
    const char* fileName = frame_files::frames[n].name;
    std::vector<uint8_t> file = frame_files::bytesOf(fileName);
    int32_t mismatches = 0, opaque = 0;
    for (int32_t row = 0; row < frame.height; ++row) {
      for (int32_t col = 0; col < frame.width; ++col) {
        uint32_t expected = frame_files::pixel(file, col, row);
        if (frame_files::transparent(expected)) {
          expected = background;
        } else {
          ++opaque;
        }
        // The transparent copy writes colours with an alpha byte of 0.
        uint32_t shown = screenPixel(x + frame.offsetX + col, y + frame.offsetY + row);
        mismatches += (shown & 0xFFFFFF) != (expected & 0xFFFFFF);
      }
    }
    EXPECT_EQ(mismatches, 0) << fileName;
    EXPECT_GT(opaque, frame.width * frame.height / 8) << fileName;
  }

  fs::path directory;
  SpriteSet sprites;
};

TEST_F(SpriteSetTest, GameFramesLoadWithCentredHotSpots) {
  openNullScreen();
  sprites.load((assets / "2.spr").string());
  ASSERT_EQ(sprites.frameCount, 5);
  ASSERT_EQ(sprites.frames.size(), 5u);
  for (const SpriteFrame& frame : sprites.frames) {
    EXPECT_NE(frame.image, nullptr);
    EXPECT_EQ(frame.offsetX, -frame.width / 2);
    EXPECT_EQ(frame.offsetY, -frame.height / 2);
  }
}

TEST_F(SpriteSetTest, FramesDrawAroundThePointWithoutTheirMagenta) {
  openNullScreen();
  fs::current_path(assets);  // the index names its images relative to here
  sprites.load("2.spr");
  for (int32_t n = 1; n <= 5; ++n) {
    clearScreen(notGiven);
    sprites.draw(400, 300, n);
    expectDrawnAsInFile(n, 400, 300);
  }
}

TEST_F(SpriteSetTest, FrameNumbersWithoutAFrameDrawNothing) {
  openNullScreen();
  fs::current_path(assets);
  sprites.load("2.spr");
  for (int32_t n : {0, -1, 6, INT_MAX, INT_MIN}) sprites.draw(400, 300, n);
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(SpriteSetTest, MissingIndexLeavesTheSetEmpty) {
  openNullScreen();
  sprites.load((directory / "absent.spr").string());
  EXPECT_EQ(sprites.frameCount, 0);
  EXPECT_TRUE(sprites.frames.empty());
  sprites.draw(10, 10, 1);
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(SpriteSetTest, ZeroOrNegativeCountLoadsNothing) {
  openNullScreen();
  sprites.load(writeIndex("0\n" + (assets / "1.bmp").string() + ",32,32,-16,-16\n"));
  EXPECT_EQ(sprites.frameCount, 0);
  EXPECT_TRUE(sprites.frames.empty());
  sprites.load(writeIndex("-7\n"));
  EXPECT_EQ(sprites.frameCount, -7);
  EXPECT_TRUE(sprites.frames.empty());
}

TEST_F(SpriteSetTest, HugeCountIsBoundedByTheFile) {
  openNullScreen();
  std::string index = writeIndex("2000000000\n" + (assets / "1.bmp").string() + ",32,32,-16,-16\n");
  sprites.load(index);
  EXPECT_EQ(sprites.frameCount, 2000000000);
  EXPECT_LE(sprites.frames.size(), fs::file_size(index) / 5 + 1);
  ASSERT_GE(sprites.frames.size(), 1u);
  EXPECT_EQ(sprites.frames[0].width, 32);
  EXPECT_NE(sprites.frames[0].image, nullptr);
  // The frames after the file's end are empty and draw nothing.
  for (size_t n = 2; n <= sprites.frames.size(); ++n) {
    EXPECT_EQ(sprites.frames[n - 1].image, nullptr);
    sprites.draw(400, 300, static_cast<int32_t>(n));
  }
  sprites.draw(400, 300, 1000);
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(SpriteSetTest, AnIndexThatCannotBeOpenedReadsNothing) {
  openNullScreen();
  // Every file number taken, file 1 selected for reading: the index finds
  // no number of its own and must not read another file's fields.
  std::string other = writeIndex("4\n");
  for (int32_t number = 1; number <= 255; ++number)
    ASSERT_EQ(openFile(other, 2, 0, 0, number, 0), 0);
  selectInputFile(1);
  sprites.load((assets / "2.spr").string());
  EXPECT_EQ(sprites.frameCount, 0);
  EXPECT_TRUE(sprites.frames.empty());
  closeAllFiles();
}

TEST_F(SpriteSetTest, ImageMemoryIsCappedAndFramesOverTheCapStayEmpty) {
  openNullScreen();
  const std::string bmp = (assets / "1.bmp").string();
  // 3000 x 3000 at 4 bytes is 36 MB: one fits the cap, a second does not.
  sprites.load(writeIndex("4\n" + bmp + ",3000,3000,0,0\n" + bmp + ",3000,3000,0,0\n" + bmp +
                          ",32,32,-16,-16\n" + bmp + ",30000,20000,0,0\n"));
  ASSERT_EQ(sprites.frames.size(), 4u);
  EXPECT_NE(sprites.frames[0].image, nullptr);
  EXPECT_EQ(sprites.frames[1].image, nullptr);
  EXPECT_NE(sprites.frames[2].image, nullptr);  // small frames still load
  EXPECT_EQ(sprites.frames[3].image, nullptr);  // 2.4 GB never allocated
  EXPECT_EQ(sprites.frames[3].width, 30000);
  EXPECT_TRUE(screenIsBlank());  // no frame's file went onto the screen
}

TEST_F(SpriteSetTest, UnreadableImagesLeaveTransparentOrNoFrames) {
  openNullScreen();
  sprites.load(writeIndex("3\nnothing-here.bmp,8,8,0,0\n" + (assets / "1.bmp").string() +
                          ",0,32,0,0\n,,,,\n"));
  // A frame without an image does not load its file onto the screen.
  EXPECT_TRUE(screenIsBlank());
  ASSERT_EQ(sprites.frames.size(), 3u);
  EXPECT_NE(sprites.frames[0].image, nullptr);  // blank and transparent
  EXPECT_EQ(sprites.frames[1].image, nullptr);  // no width, no image
  EXPECT_EQ(sprites.frames[2].image, nullptr);
  for (int32_t n = 1; n <= 3; ++n) sprites.draw(100, 100, n);
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(SpriteSetTest, ExtremeOffsetsAndPositionsAreClippedNotOverflowed) {
  openNullScreen();
  sprites.load(writeIndex("2\n" + (assets / "1.bmp").string() + ",32,32,-2147483648,2147483647\n" +
                          (assets / "1.bmp").string() + ",32,32,-16,-16\n"));
  sprites.draw(-1, -1, 1);
  sprites.draw(INT_MIN, INT_MAX, 2);
  EXPECT_TRUE(screenIsBlank());
  sprites.draw(-1, -1, 2);  // the bottom-right quarter of the cursor shows
  EXPECT_FALSE(screenIsBlank());
}

TEST_F(SpriteSetTest, ReleaseFreesImagesAndKeepsTheCount) {
  openNullScreen();
  fs::current_path(assets);
  sprites.load("2.spr");
  sprites.load("2.spr");  // the images of the first load are not lost
  sprites.releaseImages();
  EXPECT_EQ(sprites.frameCount, 5);
  EXPECT_TRUE(sprites.frames.empty());
  sprites.draw(400, 300, 1);
  EXPECT_TRUE(screenIsBlank());
  sprites.releaseImages();  // twice is harmless
}

TEST_F(SpriteSetTest, WithoutAScreenFramesHaveNoImages) {
  sprites.load((assets / "2.spr").string());
  ASSERT_EQ(sprites.frames.size(), 5u);
  for (const SpriteFrame& frame : sprites.frames) EXPECT_EQ(frame.image, nullptr);
  sprites.draw(1, 1, 1);
}

}  // namespace

}  // namespace krgfx
