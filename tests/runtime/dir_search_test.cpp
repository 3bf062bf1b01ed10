#include <set>

#include "runtime/file_test_support.h"

namespace krgfx {

namespace {

using FindFile = RuntimeFileTest;

constexpr int32_t spriteMask = 0x21;

TEST_F(FindFile, PlainFileMatchesWithItsAttributes) {
  writeFile("2.spr", "1");
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("2.spr", spriteMask, &attributes), "2.spr");
  EXPECT_EQ(attributes, 0x20);
  EXPECT_EQ(findFirstFile("2.spr", spriteMask, nullptr), "2.spr");
}

TEST_F(FindFile, ReadOnlyFileMatchesTheSpriteMask) {
  writeFile("2.spr", "1");
  if (!makeReadOnly("2.spr")) GTEST_SKIP() << "read-only files are writable here";
  int32_t attributes = 0;
  EXPECT_EQ(findFirstFile("2.spr", spriteMask, &attributes), "2.spr");
  EXPECT_EQ(attributes, 0x21);
  EXPECT_EQ(findFirstFile("2.spr", 0x20, &attributes), "");
}

TEST_F(FindFile, DirectoriesNeedTheirBit) {
  std::filesystem::create_directory("2.spr");
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("2.spr", spriteMask, &attributes), "");
  EXPECT_EQ(attributes, 0);
  EXPECT_EQ(findFirstFile("2.spr", 0x10, &attributes), "2.spr");
  EXPECT_EQ(attributes & ~attrArchive, 0x10);
}

TEST_F(FindFile, EmptyPatternContinuesUntilTheSearchRunsOut) {
  int32_t attributes = -1;
  EXPECT_EQ(findFirstFile("", spriteMask, &attributes), "");  // no search open
  EXPECT_EQ(attributes, 0);

  for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "notes.txt"}) writeFile(name, "");
  std::filesystem::create_directory("d.bmp");
  std::set<std::string> found;
  std::string name = findFirstFile("*.bmp", spriteMask, nullptr);
  while (!name.empty()) {
    EXPECT_TRUE(found.insert(name).second) << name;
    name = findFirstFile("", 0x10, &attributes);  // the mask of the start stays
  }
  EXPECT_EQ(found, (std::set<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
  EXPECT_EQ(attributes, 0);
  EXPECT_FALSE(runtimeContext<DirSearch>(contextDirSearch).active);
  EXPECT_EQ(findFirstFile("", spriteMask, nullptr), "");
}

TEST_F(FindFile, ANewPatternReplacesTheOpenSearch) {
  writeFile("a1", "");
  writeFile("a2", "");
  writeFile("b1", "");
  EXPECT_EQ(findFirstFile("a?", spriteMask, nullptr).substr(0, 1), "a");
  EXPECT_EQ(findFirstFile("b*", spriteMask, nullptr), "b1");
  EXPECT_EQ(findFirstFile("", spriteMask, nullptr), "");
  EXPECT_EQ(findFirstFile("missing", spriteMask, nullptr), "");
  EXPECT_EQ(findFirstFile("", spriteMask, nullptr), "");  // the failed start closed it
}

TEST_F(FindFile, PatternsWithADirectoryPartReturnTheNameAlone) {
  std::filesystem::create_directories("sprites/frames");
  writeFile("sprites/frames/one.bmp", "");
  EXPECT_EQ(findFirstFile("sprites/frames/o*.bmp", spriteMask, nullptr), "one.bmp");
  EXPECT_EQ(findFirstFile("sprites/frames", 0x10, nullptr), "frames");
  EXPECT_EQ(findFirstFile((directory / "sprites/frames/*").string(), spriteMask, nullptr),
            "one.bmp");
  EXPECT_EQ(findFirstFile("nowhere/*.bmp", spriteMask, nullptr), "");
  EXPECT_EQ(findFirstFile("sprites/", 0x10, nullptr), "");
}

TEST_F(FindFile, OnlyStarAndQuestionMarkAreWildcards) {
  writeFile("frame[1].bmp", "");
  writeFile("frame1.bmp", "");
  EXPECT_EQ(findFirstFile("frame[1].bmp", spriteMask, nullptr), "frame[1].bmp");
  EXPECT_EQ(findFirstFile("frame[1]", spriteMask, nullptr), "");
  EXPECT_EQ(findFirstFile("frame?.bmp", spriteMask, nullptr), "frame1.bmp");
}

}  // namespace

}  // namespace krgfx
