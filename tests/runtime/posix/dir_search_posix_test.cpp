// Directory search on POSIX systems: what stands for the attribute bits,
// and names compared by case.
#include <sys/stat.h>

#include "runtime/file_test_support.h"

namespace krgfx {

namespace {

using FindFile = RuntimeFileTest;

constexpr int32_t spriteMask = 0x21;

TEST_F(FindFile, NamesDifferByCase) {
  writeFile("2.spr", "1");
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("2.SPR", spriteMask, &attributes), "");
  EXPECT_EQ(attributes, 0);
}

TEST_F(FindFile, DotNamesAreHiddenAndSpecialEntriesSystem) {
  std::filesystem::create_directory("2.spr");
  writeFile(".2.spr", "1");
  ASSERT_EQ(mkfifo("pipe.spr", 0600), 0);
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("2.spr", spriteMask, &attributes), "");
  EXPECT_EQ(attributes, 0);
  EXPECT_EQ(findFirstFile(".2.spr", spriteMask, &attributes), "");
  EXPECT_EQ(findFirstFile("pipe.spr", spriteMask, &attributes), "");

  EXPECT_EQ(findFirstFile("2.spr", 0x10, &attributes), "2.spr");
  EXPECT_EQ(attributes, 0x10);
  EXPECT_EQ(findFirstFile(".2.spr", 0x02, &attributes), ".2.spr");
  EXPECT_EQ(attributes, 0x22);  // with 0x10 absent, the archive bit is always accepted
  EXPECT_EQ(findFirstFile("pipe.spr", 0x04, &attributes), "pipe.spr");
  EXPECT_EQ(attributes, 0x04);
}

TEST_F(FindFile, ABackslashIsAnOrdinaryByte) {
  writeFile("back\\slash", "");
  EXPECT_EQ(findFirstFile("back\\slash", spriteMask, nullptr), "back\\slash");
}

}  // namespace

}  // namespace krgfx
