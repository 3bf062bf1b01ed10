// The drawing examples run without a window for a fixed number of frames;
// the paint program's saved picture is what it painted.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int runExample(const std::string& name, const std::string& arguments) {
  std::string command = "cd " KRGFX_BINARY_DIR " && KRGFX=null examples/" + name + " " + arguments +
                        " </dev/null >/dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint32_t word(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

}  // namespace

TEST(ExamplesTest, PlasmaAndSnakeRunTheirFramesAndEnd) {
  EXPECT_EQ(runExample("plasma", "--frames 20"), 0);
  EXPECT_EQ(runExample("snake", "--frames 400"), 0);
}

TEST(ExamplesTest, PaintSavesWhatItPainted) {
  std::string file = KRGFX_BINARY_DIR "/paint_example_test.bmp";
  std::remove(file.c_str());
  // Status 0: the program loaded its file back and found the screen in it.
  ASSERT_EQ(runExample("paint", "--frames 30 --save " + file), 0);
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GE(bytes.size(), 54u + 640 * 480 * 4);
  ASSERT_EQ(word(bytes, 18), 640u);
  ASSERT_EQ(word(bytes, 22), 480u);
  size_t pixels = word(bytes, 10);
  auto colour = [&](int x, int y) {  // rows bottom first
    return word(bytes, pixels + (static_cast<size_t>(479 - y) * 640 + x) * 4) & 0xFFFFFF;
  };
  EXPECT_EQ(colour(5, 5), 0xFFFFFFu);      // the first swatch of the colour bar
  EXPECT_EQ(colour(40, 300), 0xFF4040u);   // where the stroke starts
  EXPECT_EQ(colour(46, 210), 0xFF4040u);   // halfway along its first line
  EXPECT_EQ(colour(500, 300), 0xFFD020u);  // the filled ring's middle
  EXPECT_EQ(colour(440, 300), 0x4060FFu);  // and its outline
  EXPECT_EQ(colour(600, 100), 0u);         // untouched canvas
  std::remove(file.c_str());
}
