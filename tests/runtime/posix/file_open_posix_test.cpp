// Opening files that only POSIX systems name in the file system.
#include <unistd.h>

#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

using OpenFile = RuntimeFileTest;

TEST_F(OpenFile, LengthThatCannotBeMeasuredIsRefused) {
  // A pipe has no length.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::string name = "/proc/self/fd/" + std::to_string(ends[0]);
  EXPECT_EQ(openFile(name, modeReadText, accessDefault, 0, 1, 0), errBadCall);
  EXPECT_EQ(fileHandleOf(1)->hooks, nullptr);
  close(ends[0]);
  close(ends[1]);
}

// "CON" is an ordinary name here, which a file can have.
TEST_F(OpenFile, TheConsoleDeviceNameInAnyCaseMarksTheKind) {
  writeFile("cOn", "");
  ASSERT_EQ(openFile("cOn", modeReadText, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->kind, kindConsoleDevice);
}

TEST_F(OpenFile, TextModeReadsTheBytesUnchanged) {
  writeFile("index.spr", "3\r\nabc\x1a!");
  ASSERT_EQ(openFile("index.spr", modeReadText, accessDefault, 0, 5, 0), 0);
  EXPECT_EQ(fileHandleOf(5)->size, 8);
  EXPECT_EQ(readAll(5, 8), "3\r\nabc\x1a!");
}

using FreeAndClose = RuntimeFileTest;

TEST_F(FreeAndClose, ALostWriteIsReportedByCloseAndTheNumberIsFreed) {
  ASSERT_EQ(openFile("/dev/full", modeWrite, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(diskFileOps.write(*fileHandleOf(1), "data", 4), 0);  // still in the buffer
  EXPECT_EQ(closeFile(1), errIoFailed);
  EXPECT_EQ(runtimeError(), errIoFailed);
  EXPECT_EQ(fileHandleOf(1)->hooks, nullptr);  // no handle left without a stream
  EXPECT_EQ(freeFileNumber(), 1);
  writeFile("data", "x");
  EXPECT_EQ(openFile("data", modeReadText, accessDefault, 0, 1, 0), 0);
}

}  // namespace

}  // namespace krgfx
