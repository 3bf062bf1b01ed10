#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/text/text_view.h"
#include "text_fixture.h"

namespace krgfx {

using namespace text_testing;

namespace {

// Every outputBytes call, passed on to the screen.
std::vector<std::string> outputs;
void recordOutput(const uint8_t* bytes, int32_t length, int32_t mask) {
  outputs.emplace_back(bytes, bytes + length);
  screenText::outputBytes(bytes, length, mask);
}

// A file kind that keeps what is written to it.
std::string written;
int32_t writeResult;
int32_t recordWrite(FileHandle&, const void* data, int32_t length) {
  written.append(static_cast<const char*>(data), static_cast<size_t>(length));
  return writeResult;
}
const FileOps recordingFile = [] {
  FileOps ops{};
  ops.write = recordWrite;
  return ops;
}();

class PrintOps : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    outputs.clear();
    written.clear();
    writeResult = 0;
  }
  void TearDown() override {
    closeAllFiles();
    ScreenTest::TearDown();
  }
  GfxScreen& openRecorded() {
    GfxScreen& screen = openNullScreen();
    runtimeState.hooks.outputBytes = recordOutput;
    return screen;
  }
  static FileHandle& openRecordingFile(int32_t number) {
    FileHandle& file = *fileHandleOf(number);
    file = FileHandle{};
    file.hooks = &recordingFile;
    runtimeState.filesInUse = 1;
    return file;
  }
  static FileHandle& console() { return runtimeState.fileTable[0]; }
};

}  // namespace

TEST_F(PrintOps, GameScoreLineIsFourWritesAndEndsAtColumnZero) {
  GfxScreen& screen = openRecorded();
  clearScreen(notGiven);
  placeCursor(2, 2, -1, 0, 0);
  EXPECT_EQ(console().printColumn, 1);
  writeText(0, "Zdobyles", 0);
  writeInt(0, 42, 0);
  EXPECT_EQ(console().printColumn, 12);
  writeText(0, " punktow!", 1);
  EXPECT_EQ(outputs, (std::vector<std::string>{"Zdobyles", " 42", " punktow!", "\r\n"}));
  EXPECT_EQ(console().printColumn, 0);
  EXPECT_EQ(runtimeError(), 0);
  const std::string line = "Zdobyles 42 punktow!";
  for (size_t i = 0; i < line.size(); ++i)
    EXPECT_TRUE(glyphAt(screen, fontTable[0], static_cast<uint8_t>(line[i]),
                        8 + 8 * static_cast<int32_t>(i), 8, white, black));
  EXPECT_EQ(runtimeState.hooks.cursorRow(), 3);
  EXPECT_EQ(runtimeState.hooks.cursorColumn(), 1);
}

TEST_F(PrintOps, NumbersInTheirFourFormats) {
  openRecorded();
  writeInt(0, 0, 0);
  writeInt(0, 42, 0);
  writeInt(0, -5, 0);
  writeUInt(0, 42, 0);
  writeUInt(0, 4294967295u, 0);
  writeInt(0, INT32_MIN, 0);
  writeInt(0, 7, printSpaceAfter);
  writeInt(0, 7, printNewline);
  writeInt(0, 7, printNewlineToo | printSpaceAfter);
  writeUInt(0, 8, printSpaceAfter);
  writeUInt(0, 8, printNewline | printSpaceAfter);
  EXPECT_EQ(outputs, (std::vector<std::string>{" 0", " 42", "-5", "42", "4294967295", "-2147483648",
                                               " 7 ", " 7\r\n", " 7 \r\n", "8 ", "8 \r\n"}));
}

TEST_F(PrintOps, NewlineThenZoneForNumbersButNotForText) {
  openRecorded();
  writeInt(0, 1, printNewline | printNextZone);
  EXPECT_EQ(outputs, (std::vector<std::string>{" 1\r\n", std::string(14, ' ')}));
  EXPECT_EQ(console().printColumn, 14);
  outputs.clear();
  writeText(0, "ab", printNewline | printNextZone);
  EXPECT_EQ(outputs, (std::vector<std::string>{"ab", "\r\n"}));
  outputs.clear();
  writeText(0, "", printNextZone);
  EXPECT_EQ(outputs, (std::vector<std::string>{std::string(14, ' ')}));
}

TEST_F(PrintOps, PrintZonesAreFourteenColumnsWide) {
  openRecorded();
  FileHandle& file = console();
  file.printWidth = 0;
  for (auto [column, expected] :
       {std::pair{0, std::string(14, ' ')}, std::pair{13, std::string(" ")},
        std::pair{14, std::string(14, ' ')}, std::pair{27, std::string(" ")},
        std::pair{-3, std::string(14, ' ')}}) {
    file.printColumn = column;
    outputs.clear();
    nextPrintZone(file);
    EXPECT_EQ(outputs, std::vector<std::string>{expected}) << column;
  }
  file.printWidth = 10;
  file.printColumn = 0;
  outputs.clear();
  nextPrintZone(file);
  EXPECT_EQ(outputs, std::vector<std::string>{"\r\n"});
  EXPECT_EQ(file.printColumn, 0);
}

TEST_F(PrintOps, PrintColumnFollowsTheLastLineStartAndTheWidth) {
  openRecorded();
  FileHandle& file = console();
  file.printWidth = 100;
  file.printColumn = 0;
  writeText(0, "abc\r\nde", 0);
  EXPECT_EQ(file.printColumn, 2);
  writeText(0, "x\ny", 0);
  EXPECT_EQ(file.printColumn, 1);
  writeText(0, std::string(150, 'q'), 0);
  EXPECT_EQ(file.printColumn, 51);
  clearScreen(0);
  EXPECT_EQ(file.printColumn, 0);
}

TEST_F(PrintOps, FilesAreWrittenThroughTheirOwnWrite) {
  openRecorded();
  FileHandle& file = openRecordingFile(7);
  EXPECT_EQ(writeText(7, "Zdobyles", 0), 0);
  EXPECT_EQ(writeInt(7, 42, printNextZone), 0);
  EXPECT_EQ(writeUInt(7, 3, printNewline), 0);
  EXPECT_EQ(written, "Zdobyles 42   3\r\n");  // " 42" ends at column 11: three spaces to 14
  EXPECT_EQ(file.printColumn, 0);
  EXPECT_TRUE(outputs.empty());
  writeText(7, "abc", 0);
  EXPECT_EQ(file.printColumn, 3);  // no width: never wraps

  // A failing write is reported and stops the print.
  written.clear();
  writeResult = errIoFailed;
  EXPECT_EQ(writeText(7, "x", printNewline), errIoFailed);
  EXPECT_EQ(runtimeError(), errIoFailed);
  EXPECT_EQ(written, "x");
  EXPECT_EQ(file.printColumn, 3);
}

TEST_F(PrintOps, BadFileNumbersWriteNothing) {
  openRecorded();
  EXPECT_EQ(writeText(300, "x", 0), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(writeInt(-2, 1, 0), errBadCall);
  EXPECT_EQ(writeUInt(8, 1, printNewline), errBadCall);  // not open
  EXPECT_EQ(writeText(-1, "x", 0), errBadCall);          // the reserved handle, never opened
  FileHandle& noWrite = openRecordingFile(9);
  static const FileOps readOnly{};
  noWrite.hooks = &readOnly;
  EXPECT_EQ(writeText(9, "x", 0), errBadCall);
  EXPECT_TRUE(outputs.empty());
  EXPECT_TRUE(written.empty());
}

TEST_F(PrintOps, InvalidCursorPlaceKeepsTheCursorAndEndsWithoutError) {
  GfxScreen& screen = openRecorded();
  EXPECT_EQ(placeCursor(4, 6, -1, 0, 0), 6 + 4 * 256);
  placeCursor(75, 1, -1, 0, 0);
  writeText(0, std::string(100, 'w'), 0);
  ASSERT_TRUE(screen.flags & screenPendingWrap);
  for (auto [row, col] :
       {std::pair{76, 1}, std::pair{1, 101}, std::pair{-1, 1}, std::pair{1, -1}}) {
    setRuntimeError(errIoFailed);
    EXPECT_EQ(placeCursor(row, col, -1, 0, 0), 100 + 75 * 256);
    EXPECT_EQ(runtimeError(), 0);
    EXPECT_EQ(screen.cursorY, 74);
    EXPECT_EQ(screen.cursorX, 99);
  }
  EXPECT_FALSE(screen.flags & screenPendingWrap);  // cleared by the retry
  EXPECT_EQ(placeCursor(0, 0, -1, 0, 0), 100 + 75 * 256);
  EXPECT_EQ(placeCursor(0, 3, -1, 0, 0), 3 + 75 * 256);
  EXPECT_EQ(console().printColumn, 2);
}

TEST_F(PrintOps, TextViewIsCheckedAgainstTheGrid) {
  GfxScreen& screen = openRecorded();
  placeCursor(30, 30, -1, 0, 0);
  EXPECT_EQ(setTextView(10, 5, 1), 0);
  EXPECT_EQ(setTextView(1, 76, 1), 0);
  EXPECT_EQ(viewTop, 0);
  EXPECT_EQ(viewBottom, 74);
  EXPECT_EQ(screen.cursorY, 29);

  EXPECT_EQ(setTextView(5, 10, 1), 5 + (10 << 16));
  EXPECT_EQ(screen.cursorY, 4);
  EXPECT_EQ(screen.cursorX, 0);
  EXPECT_EQ(placeCursor(11, 1, -1, 0, 0), 1 + 5 * 256);  // outside the view: kept
  // Printing on the view's last row scrolls only the view.
  runtimeState.hooks.placeCursor(4, 1, -1);
  writeText(0, "out", 0);
  placeCursor(5, 1, -1, 0, 0);
  writeText(0, "top", printNewline);
  writeText(0, "mid", 0);
  placeCursor(10, 1, -1, 0, 0);
  writeText(0, "", printNewline);
  EXPECT_EQ(cellRow(screen, 3).substr(0, 3), "out");
  EXPECT_EQ(cellRow(screen, 4).substr(0, 3), "mid");
  EXPECT_EQ(cellRow(screen, 5).substr(0, 3), "   ");
  EXPECT_EQ(screen.cursorY, 9);

  EXPECT_EQ(setTextView(0, 0, 1), 1 + (75 << 16));
  EXPECT_EQ(screen.cursorY, 0);
  EXPECT_EQ(setTextView(-1, -1, 1), 1 + (75 << 16));  // nothing requested
}

TEST_F(PrintOps, WithoutAScreenTheConsoleAnswers) {
  outputs.clear();
  ConsoleHooks saved = textConsoleHooks;
  textConsoleHooks = ConsoleHooks{};
  textConsoleHooks.outputBytes = recordOutput;
  writeInt(0, 5, printNewline);
  textConsoleHooks.outputBytes = nullptr;
  EXPECT_EQ(outputs, (std::vector<std::string>{" 5\r\n"}));
  console().printColumn = 9;
  clearScreen(0);  // no console clear: only the print column
  EXPECT_EQ(console().printColumn, 0);
  textConsoleHooks = saved;
}

}  // namespace krgfx
