#include "gfx/display/changed_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace krgfx {

namespace {

constexpr int32_t rowBytes = 16, rows = 40;

struct Pictures {
  std::vector<uint8_t> picture = std::vector<uint8_t>(rowBytes * rows, 7);
  std::vector<uint8_t> shown = std::vector<uint8_t>(rowBytes * rows, 7);
  void change(int32_t row, int32_t at = 0) { picture[row * rowBytes + at] ^= 0xFF; }
  std::vector<RowRun> take(int32_t first, int32_t last, int32_t gap) {
    return takeChangedRows(picture.data(), shown.data(), rowBytes, first, last, gap);
  }
};

bool sameRuns(const std::vector<RowRun>& runs, std::vector<RowRun> expected) {
  if (runs.size() != expected.size()) return false;
  for (size_t i = 0; i < runs.size(); ++i)
    if (runs[i].first != expected[i].first || runs[i].last != expected[i].last) return false;
  return true;
}

}  // namespace

TEST(ChangedRows, UnchangedRowsAreNotTaken) {
  Pictures pictures;
  EXPECT_TRUE(pictures.take(0, rows - 1, 4).empty());
}

TEST(ChangedRows, RunsAreJoinedAcrossShortGapsOnly) {
  Pictures pictures;
  pictures.change(2);
  pictures.change(5);       // three unchanged rows after row 2: joined with a gap of 3
  pictures.change(20, 15);  // a change in a row's last byte counts
  pictures.change(21);
  EXPECT_TRUE(sameRuns(pictures.take(0, rows - 1, 3), {{2, 5}, {20, 21}}));
  // Taken rows are now shown: a second look finds nothing.
  EXPECT_TRUE(pictures.take(0, rows - 1, 3).empty());
  pictures.change(2);
  pictures.change(7);  // four unchanged rows between: two runs
  EXPECT_TRUE(sameRuns(pictures.take(0, rows - 1, 3), {{2, 2}, {7, 7}}));
  EXPECT_EQ(pictures.shown, pictures.picture);
}

TEST(ChangedRows, OnlyTheAskedRowsAreComparedAndCopied) {
  Pictures pictures;
  pictures.change(1);
  pictures.change(30);
  EXPECT_TRUE(sameRuns(pictures.take(10, 35, 0), {{30, 30}}));
  EXPECT_NE(pictures.shown[1 * rowBytes], pictures.picture[1 * rowBytes]);
  EXPECT_TRUE(sameRuns(pictures.take(0, rows - 1, 0), {{1, 1}}));
  EXPECT_TRUE(pictures.take(5, 4, 0).empty());  // an empty span
}

// Rows compared in words: a difference at any byte of a row counts, the
// words, the trailing pixel and the trailing bytes alike, and the row's
// bytes before the difference stay right.
TEST(ChangedRows, ADifferenceAtAnyByteOfAnOddWidthRowIsFound) {
  constexpr int32_t oddBytes = 23;  // two words, a pixel and three bytes
  for (int32_t at = 0; at < oddBytes; ++at) {
    std::vector<uint8_t> picture(oddBytes * 3), shown(oddBytes * 3);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = shown[i] = static_cast<uint8_t>(i);
    picture[oddBytes + at] ^= 0x10;
    auto runs = takeChangedRows(picture.data(), shown.data(), oddBytes, 0, 2, 0);
    EXPECT_TRUE(sameRuns(runs, {{1, 1}})) << "byte " << at;
    EXPECT_EQ(shown, picture) << "byte " << at;
  }
}

// Forced bits: the alpha a producer leaves undefined is taken as opaque.
// Rows differing only there are unchanged once shown; a colour change in
// any pixel is taken with the alpha set.
TEST(ChangedRows, ForcedAlphaIsSetInEveryTakenPixelAndIgnoredInComparison) {
  constexpr int32_t pixels = 5, bytes = pixels * 4;  // two words and a pixel
  constexpr uint32_t opaque = 0xFF000000u;
  std::vector<uint8_t> picture(bytes * 4, 0), shown(bytes * 4, 0);
  for (int32_t at = 3; at < bytes * 4; at += 4) shown[at] = 0xFF;  // an opaque black canvas
  for (int32_t at = 3; at < bytes * 4; at += 4) picture[at] = static_cast<uint8_t>(at);
  EXPECT_TRUE(takeChangedRows(picture.data(), shown.data(), bytes, 0, 3, 0, opaque).empty());

  picture[1 * bytes + 4 * 4 + 2] = 0x80;  // row 1's last pixel
  picture[3 * bytes + 0] = 0x01;          // row 3's first pixel
  auto runs = takeChangedRows(picture.data(), shown.data(), bytes, 0, 3, 0, opaque);
  EXPECT_TRUE(sameRuns(runs, {{1, 1}, {3, 3}}));
  for (int32_t row : {1, 3})
    for (int32_t at = 0; at < bytes; ++at) {
      uint8_t expected = at % 4 == 3 ? 0xFF : picture[row * bytes + at];
      EXPECT_EQ(shown[row * bytes + at], expected) << "row " << row << " byte " << at;
    }
  EXPECT_TRUE(takeChangedRows(picture.data(), shown.data(), bytes, 0, 3, 0, opaque).empty());
  // Bytes after the last whole pixel are compared and taken as they are.
  constexpr int32_t ragged = 6;
  std::vector<uint8_t> odd(ragged * 2, 0x11), oddShown(ragged * 2, 0x11);
  oddShown[3] = 0xFF;  // row 0 shown as taken
  odd[ragged + 5] = 0x22;
  EXPECT_TRUE(
      sameRuns(takeChangedRows(odd.data(), oddShown.data(), ragged, 0, 1, 0, opaque), {{1, 1}}));
  EXPECT_EQ(oddShown[ragged + 3], 0xFF);
  EXPECT_EQ(oddShown[ragged + 4], 0x11);
  EXPECT_EQ(oddShown[ragged + 5], 0x22);
}

}  // namespace krgfx
