// Directory search on Win32: the file system's own attribute bits, names
// compared without regard to case, and either separator. (Wine reports the
// archive bit for every file, whatever was set.)
#include <windows.h>

#include "runtime/file_test_support.h"

namespace krgfx {

namespace {

using FindFile = RuntimeFileTest;

constexpr int32_t spriteMask = 0x21;

void setAttributes(const char* name, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesA(name, attributes)) << name;
}

TEST_F(FindFile, HiddenAndSystemFilesNeedTheirBits) {
  writeFile("hidden.spr", "1");
  writeFile("system.spr", "1");
  writeFile("both.spr", "1");
  setAttributes("hidden.spr", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  setAttributes("system.spr", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  setAttributes("both.spr",
                FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("hidden.spr", spriteMask, &attributes), "");
  EXPECT_EQ(attributes, 0);
  EXPECT_EQ(findFirstFile("system.spr", spriteMask, nullptr), "");

  EXPECT_EQ(findFirstFile("hidden.spr", 0x02, &attributes), "hidden.spr");
  EXPECT_EQ(attributes, 0x22);
  EXPECT_EQ(findFirstFile("system.spr", 0x04, &attributes), "system.spr");
  EXPECT_EQ(attributes, 0x24);
  EXPECT_EQ(findFirstFile("both.spr", 0x06, &attributes), "");  // read-only not asked for
  EXPECT_EQ(findFirstFile("both.spr", 0x07, &attributes), "both.spr");
  EXPECT_EQ(attributes & ~attrArchive, 0x07);
  setAttributes("both.spr", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FindFile, AFileWithoutAttributesMatchesAnyMask) {
  writeFile("plain.spr", "1");
  setAttributes("plain.spr", FILE_ATTRIBUTE_NORMAL);
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("plain.spr", 0, &attributes), "plain.spr");
  EXPECT_EQ(attributes & ~attrArchive, 0);  // "normal" (0x80) is no attribute bit
}

TEST_F(FindFile, NamesMatchWithoutRegardToCase) {
  writeFile("2.spr", "1");
  EXPECT_EQ(findFirstFile("2.SPR", spriteMask, nullptr), "2.spr");
  EXPECT_EQ(findFirstFile("*.SpR", spriteMask, nullptr), "2.spr");
}

TEST_F(FindFile, PatternsTakeEitherSeparator) {
  std::filesystem::create_directories("sprites/frames");
  writeFile("sprites/frames/one.bmp", "");
  EXPECT_EQ(findFirstFile("sprites\\frames\\o*.bmp", spriteMask, nullptr), "one.bmp");
  EXPECT_EQ(findFirstFile("sprites\\frames/one.bmp", spriteMask, nullptr), "one.bmp");
}

}  // namespace

}  // namespace krgfx
