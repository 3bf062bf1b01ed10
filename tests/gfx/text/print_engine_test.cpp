#include "gfx/text/print_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/text/bell.h"

namespace krgfx {

// The engine over a recording region: no display, only what it asks to
// write and scroll.
namespace {

struct Write {
  int32_t x, y;
  std::string bytes;
  bool operator==(const Write&) const = default;
};
std::vector<Write> writes;
std::vector<int32_t> scrolls;
int32_t bells;
int32_t writeAnswer = 1;

int32_t recordWrite(PrintRegion& region, const uint8_t* bytes, int32_t count) {
  writes.push_back({region.x, region.y, std::string(bytes, bytes + count)});
  return writeAnswer;
}

void recordScroll(PrintRegion&, int32_t, int32_t, int32_t, int32_t, int32_t lines) {
  scrolls.push_back(lines);
}

void recordBell(int32_t frequency, int32_t duration) {
  EXPECT_EQ(frequency, 1000);
  EXPECT_EQ(duration, 250);
  ++bells;
}

class PrintEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    writes.clear();
    scrolls.clear();
    bells = 0;
    writeAnswer = 1;
    platformBell = recordBell;
    region = {};
    region.scroll = recordScroll;
    region.write = recordWrite;
    region.right = 99;
    region.bottom = 74;
  }
  void TearDown() override { platformBell = terminalBell; }

  void print(const std::string& text, bool lfReturnsCarriage = true) {
    printToRegion(region, reinterpret_cast<const uint8_t*>(text.data()),
                  static_cast<int32_t>(text.size()), lfReturnsCarriage);
  }

  PrintRegion region;
};

}  // namespace

TEST_F(PrintEngine, WrapsAtTheRightEdgeAndDefersTheScroll) {
  print(std::string(101, 'a'));
  EXPECT_EQ(writes, (std::vector<Write>{{0, 0, std::string(100, 'a')}, {0, 1, "a"}}));
  EXPECT_EQ(region.x, 1);
  EXPECT_EQ(region.y, 1);

  // Filling the last row leaves the cursor below it, unscrolled.
  writes.clear();
  region.x = 0, region.y = 74;
  print(std::string(100, 'b'));
  EXPECT_TRUE(scrolls.empty());
  EXPECT_EQ(region.x, 0);
  EXPECT_EQ(region.y, 75);
  // The next byte scrolls first.
  print("c");
  EXPECT_EQ(scrolls, std::vector<int32_t>{1});
  EXPECT_EQ(writes.back(), (Write{0, 74, "c"}));
}

TEST_F(PrintEngine, BatchesAtMost1024Bytes) {
  region.right = 1999;
  print(std::string(1500, 'x'));
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].bytes.size(), 1024u);
  EXPECT_EQ(writes[1], (Write{1024, 0, std::string(476, 'x')}));
}

TEST_F(PrintEngine, ControlCharactersMoveTheCursor) {
  print("\t");  // column 1 to 9
  EXPECT_EQ(writes.back(), (Write{0, 0, std::string(8, ' ')}));
  EXPECT_EQ(region.x, 8);
  print("\t");  // 9 to 17
  EXPECT_EQ(region.x, 16);
  print("abc\t");
  EXPECT_EQ(writes.back(), (Write{16, 0, "abc     "}));

  // After a carriage return the tab counts from the left edge again.
  print("\r\t");
  EXPECT_EQ(region.x, 8);

  print("\b\b");
  EXPECT_EQ(region.x, 6);
  region.x = 0, region.y = 3;
  print("\b");  // no step back onto the row above
  EXPECT_EQ(region.x, 0);
  EXPECT_EQ(region.y, 3);

  region.x = 5;
  print("\n", false);
  EXPECT_EQ(region.x, 5);
  EXPECT_EQ(region.y, 4);
  print("\n");
  EXPECT_EQ(region.x, 0);
  EXPECT_EQ(region.y, 5);
}

TEST_F(PrintEngine, TabStopsCountFromTheRegionsLeftEdge) {
  region.left = 3;
  region.x = 3;
  print("ab\t");
  EXPECT_EQ(writes.back(), (Write{3, 0, "ab      "}));
  EXPECT_EQ(region.x, 11);
}

TEST_F(PrintEngine, BellRingsAndPrintsNothing) {
  region.x = 7;
  print("\a");
  EXPECT_EQ(bells, 1);
  EXPECT_TRUE(writes.empty());
  EXPECT_EQ(region.x, 7);
  print("a\ab");
  EXPECT_EQ(bells, 2);
  EXPECT_EQ(writes, (std::vector<Write>{{7, 0, "ab"}}));
}

TEST_F(PrintEngine, NewlineOnTheLastRowScrollsAtOnce) {
  region.y = 74;
  print("\r\n");
  EXPECT_EQ(scrolls, std::vector<int32_t>{1});
  EXPECT_EQ(region.y, 74);
  EXPECT_EQ(region.x, 0);
}

TEST_F(PrintEngine, UnscrolledRegionNeverScrolls) {
  region.bottom = -1;
  region.y = 500;
  print("a\n\nb");
  EXPECT_TRUE(scrolls.empty());
  EXPECT_EQ(writes.back(), (Write{0, 502, "b"}));
}

TEST_F(PrintEngine, EmptyRegionOrTextDoesNothing) {
  region.right = -1;
  print("abc\n");
  region.right = 99;
  printToRegion(region, nullptr, 5, true);
  print("");
  EXPECT_TRUE(writes.empty());
  EXPECT_EQ(region.y, 0);
}

TEST_F(PrintEngine, FailingWriteEndsTheRun) {
  writeAnswer = 0;
  print(std::string(250, 'z'));
  EXPECT_EQ(writes.size(), 1u);
}

TEST_F(PrintEngine, CursorBeyondTheRightEdgeContinuesOnTheNextRow) {
  region.x = 150;
  print("\tq");
  EXPECT_EQ(writes.front().x, 0);
  EXPECT_EQ(writes.front().y, 1);
  EXPECT_LE(region.x, 99);
}

}  // namespace krgfx
