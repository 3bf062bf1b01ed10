#include "gfx/text/line_editor.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "text_fixture.h"

namespace krgfx {

using namespace text_testing;

namespace {

std::deque<int32_t> keys;
std::vector<uint32_t> cellUnderCursor;  // what the cursor's cell showed at each key read

void noteCursorCell() {
  const GfxScreen& screen = *gfxScreen;
  int32_t col = runtimeState.hooks.cursorColumn() - 1, row = runtimeState.hooks.cursorRow() - 1;
  cellUnderCursor.push_back(screen.textCells[0][row * screen.textCols + col].character);
}

int32_t scriptedWaitKey() {
  noteCursorCell();
  if (keys.empty()) return 0;
  int32_t key = keys.front();
  keys.pop_front();
  return key;
}

int32_t scriptedKeyPending() { return keys.empty() ? 0 : 1; }

std::string scriptedPollKey() {
  noteCursorCell();
  int32_t key = keys.front();
  keys.pop_front();
  if (key < 256) return std::string(1, static_cast<char>(key));
  return {static_cast<char>(0xFF), static_cast<char>(key >> 8)};
}

class LineEditor : public ScreenTest {
 protected:
  GfxScreen& open(std::vector<int32_t> script) {
    GfxScreen& screen = openNullScreen();
    keys.assign(script.begin(), script.end());
    cellUnderCursor.clear();
    runtimeState.hooks.waitKey = scriptedWaitKey;
    runtimeState.hooks.keyPending = scriptedKeyPending;
    runtimeState.hooks.pollKey = scriptedPollKey;
    return screen;
  }
};

}  // namespace

TEST_F(LineEditor, ReadLineEditsWithAFullBlockCursor) {
  GfxScreen& screen = open({'a', 'b', 8, 'c', 0x3BFF, 7, 13});
  char buffer[10] = "zzzzzzzzz";
  EXPECT_EQ(runtimeState.hooks.readLine(buffer, sizeof buffer), 2);
  EXPECT_STREQ(buffer, "ac");
  EXPECT_EQ(cellUnderCursor, (std::vector<uint32_t>(7, 219)));
  EXPECT_EQ(cellRow(screen, 0).substr(0, 4), "ac  ");  // the cursor mark is gone
  EXPECT_TRUE(glyphAt(screen, fontTable[0], ' ', 16, 0, white, black));
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 2);
  EXPECT_EQ(runtimeState.hooks.cursorColumn(), 1);
}

TEST_F(LineEditor, ReadLineStoresAtMostOneLessThanTheBuffer) {
  GfxScreen& screen = open({'a', 'b', 'c', 'd', 13});
  char buffer[3];
  EXPECT_EQ(runtimeState.hooks.readLine(buffer, 3), 2);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(cellRow(screen, 0).substr(0, 3), "ab ");
  EXPECT_EQ(runtimeState.hooks.readLine(buffer, 0), 0);
}

TEST_F(LineEditor, BackspaceStepsBackOverTheStartOfARow) {
  GfxScreen& screen = open({'x', 'y', 'z', 8, 8, 13});
  runtimeState.hooks.placeCursor(1, 99, -1);
  char buffer[8];
  EXPECT_EQ(runtimeState.hooks.readLine(buffer, 8), 1);
  EXPECT_STREQ(buffer, "x");
  EXPECT_EQ(cellRow(screen, 0).substr(97), " x ");
  EXPECT_EQ(cellRow(screen, 1)[0], ' ');
}

TEST_F(LineEditor, EditingOnTheLastRowScrollsTheView) {
  GfxScreen& screen = open({'p', 'q', 13});
  runtimeState.hooks.placeCursor(75, 100, -1);
  char buffer[8];
  EXPECT_EQ(runtimeState.hooks.readLine(buffer, 8), 2);
  EXPECT_EQ(cellRow(screen, 72).back(), 'p');  // scrolled up twice: by q and by the newline
  EXPECT_EQ(cellRow(screen, 73)[0], 'q');
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 75);
}

TEST_F(LineEditor, EndsWhenTheKeyboardGoesAway) {
  open({'o', 'k'});  // no CR: waitKey then answers 0
  char buffer[8];
  EXPECT_EQ(runtimeState.hooks.readLine(buffer, 8), 2);
  EXPECT_STREQ(buffer, "ok");
}

TEST_F(LineEditor, PromptLineShowsThePromptAndAnUnderlineCursor) {
  GfxScreen& screen = open({'J', 0x3BFF, 'o', 13});
  std::string prompt = "Name", line = "old";
  runtimeState.hooks.promptLine(line, &prompt, 1);
  EXPECT_EQ(line, "Jo");
  EXPECT_EQ(cellRow(screen, 0).substr(0, 9), "Name? Jo ");
  EXPECT_EQ(cellUnderCursor, (std::vector<uint32_t>(4, 255)));
  // The mark is only the cell's last pixel row.
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 2);

  keys = {'x', 13};
  runtimeState.hooks.promptLine(line, nullptr, 0);
  EXPECT_EQ(line, "x");
  EXPECT_EQ(cellRow(screen, 1).substr(0, 2), "x ");
}

TEST_F(LineEditor, WidePromptGivesCodePage437CharactersAsUnicode) {
  GfxScreen& screen = open({0x82, 'x', 13});
  std::u16string prompt = u"Q", line;
  runtimeState.hooks.promptLineWide(line, &prompt, 0);
  EXPECT_EQ(line, u"\u00e9x");
  EXPECT_EQ(cellRow(screen, 0).substr(0, 3), "Q\x82x");
}

}  // namespace krgfx
