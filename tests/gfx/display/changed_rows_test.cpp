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

}  // namespace krgfx
