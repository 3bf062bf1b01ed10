#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

using OpenFile = RuntimeFileTest;

TEST_F(OpenFile, ReadTextModeMeasuresTheLengthAndFillsTheHandle) {
  writeFile("index.spr", "3\r\nabc");
  EXPECT_EQ(openFile("index.spr", modeReadText, accessDefault, 7, 5, 0), 0);
  EXPECT_EQ(runtimeError(), 0);
  const FileHandle& file = *fileHandleOf(5);
  EXPECT_EQ(file.hooks, &diskFileOps);
  EXPECT_NE(file.stream, nullptr);
  EXPECT_EQ(file.size, 6);
  EXPECT_EQ(file.mode, modeReadText);
  EXPECT_EQ(file.recordLength, 128);
  EXPECT_EQ(file.kind, kindDiskFile);
  EXPECT_EQ(file.access, accessReadWrite);  // the default access becomes read and write
  EXPECT_EQ(file.lock, 7);
  EXPECT_EQ(runtimeState.filesInUse, 1);
  EXPECT_EQ(readAll(5, 1), "3");  // read from byte 0
}

TEST_F(OpenFile, RecordLengthFollowsTheMode) {
  writeFile("data", "x");
  const struct {
    int32_t mode, given, expected;
  } cases[] = {{modeBytes, 64, 0},      {modeRecords, 64, 64}, {modeRecords, 0, 128},
               {modeReadText, -5, 128}, {modeWrite, 10, 10},   {modeAppend, 10, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(openFile("data", c.mode, accessDefault, 0, 1, c.given), 0);
    EXPECT_EQ(fileHandleOf(1)->recordLength, c.expected) << "mode " << c.mode;
    ASSERT_EQ(closeFile(1), 0);
  }
}

TEST_F(OpenFile, WriteAndAppendModesSetTheirLength) {
  writeFile("log", "12345");
  ASSERT_EQ(openFile("log", modeAppend, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->size, 5);
  EXPECT_EQ(diskFileOps.write(*fileHandleOf(1), "67", 2), 0);
  ASSERT_EQ(closeFile(1), 0);
  EXPECT_EQ(fileContents("log"), "1234567");

  ASSERT_EQ(openFile("log", modeWrite, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->size, 0);
  ASSERT_EQ(closeFile(1), 0);
  EXPECT_EQ(fileContents("log"), "");
}

TEST_F(OpenFile, ByteModeCreatesAMissingFile) {
  ASSERT_EQ(openFile("new.bin", modeBytes, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->size, 0);
  EXPECT_EQ(fileHandleOf(1)->access, accessReadWrite);
  EXPECT_EQ(diskFileOps.write(*fileHandleOf(1), "abc", 3), 0);
  ASSERT_EQ(closeFile(1), 0);
  EXPECT_EQ(fileContents("new.bin"), "abc");

  ASSERT_EQ(openFile("new.bin", modeRecords, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->size, 3);
  EXPECT_EQ(readAll(1, 3), "abc");  // the length was taken and the stream rewound
  ASSERT_EQ(closeFile(1), 0);
}

TEST_F(OpenFile, ByteModeReadsAReadOnlyFileWithDefaultAccessOnly) {
  writeFile("new.bin", "abc");
  if (!makeReadOnly("new.bin")) GTEST_SKIP() << "read-only files are writable here";
  ASSERT_EQ(openFile("new.bin", modeBytes, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->access, accessRead);
  EXPECT_EQ(readAll(1, 3), "abc");
  EXPECT_EQ(openFile("new.bin", modeBytes, accessReadWrite, 0, 2, 0), errNoFile);
}

TEST_F(OpenFile, RefusedOpensLeaveTheHandleClosed) {
  std::filesystem::create_directory("folder");
  writeFile("data", "x");
  const struct {
    const char* name;
    int32_t mode, number, code;
  } cases[] = {
      {"missing.spr", modeReadText, 1, errNoFile},
      {"folder", modeReadText, 1, errNoFile},
      {"folder", modeBytes, 1, errNoFile},
      {"data", 5, 1, errBadCall},
      {"data", -1, 1, errBadCall},
      {"data", modeReadText, 0, errBadCall},
      {"data", modeReadText, -1, errBadCall},
      {"data", modeReadText, 256, errBadCall},
      {"", modeReadText, 1, errNoFile},
  };
  for (const auto& c : cases) {
    setRuntimeError(0);
    EXPECT_EQ(openFile(c.name, c.mode, accessDefault, 0, c.number, 0), c.code) << c.name;
    EXPECT_EQ(runtimeError(), c.code);
    EXPECT_EQ(fileHandleOf(1)->hooks, nullptr);
    EXPECT_EQ(fileHandleOf(1)->stream, nullptr);
  }
  EXPECT_EQ(closeFile(1), errBadCall);
}

TEST_F(OpenFile, TheNameEndsAtItsFirstZeroByte) {
  writeFile("real", "x");
  EXPECT_EQ(openFile(std::string("real\0junk", 9), modeReadText, accessDefault, 0, 1, 0), 0);
  EXPECT_EQ(fileHandleOf(1)->size, 1);
}

TEST_F(OpenFile, AnOpenNumberIsNotReopenedAndKeepsItsPosition) {
  writeFile("first", "abcdef");
  writeFile("second", "xyz");
  ASSERT_EQ(openFile("first", modeReadText, accessDefault, 0, 9, 0), 0);
  EXPECT_EQ(readAll(9, 2), "ab");
  EXPECT_EQ(openFile("second", modeReadText, accessDefault, 0, 9, 0), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  EXPECT_EQ(fileHandleOf(9)->size, 6);
  EXPECT_EQ(readAll(9, 10), "cdef");
}

using FreeAndClose = RuntimeFileTest;

TEST_F(FreeAndClose, AllNumbersOpenLeavesNoneFree) {
  writeFile("shared", "x");
  EXPECT_EQ(freeFileNumber(), 1);
  EXPECT_EQ(freeFileNumber(), 1);  // nothing is reserved
  for (int32_t number = 1; number <= 255; ++number) {
    ASSERT_EQ(openFile("shared", modeReadText, accessDefault, 0, freeFileNumber(), 0), 0);
  }
  EXPECT_EQ(freeFileNumber(), 0);
  EXPECT_EQ(openFile("shared", modeReadText, accessDefault, 0, freeFileNumber(), 0), errBadCall);
  ASSERT_EQ(closeFile(77), 0);
  EXPECT_EQ(freeFileNumber(), 77);
  runtimeState.filesInUse = 1;
  closeAllFiles();
  EXPECT_EQ(freeFileNumber(), 1);
}

TEST_F(FreeAndClose, CloseRefusesTheConsoleAndUnknownNumbers) {
  FileHandle& console = *fileHandleOf(0);
  static const FileOps consoleOps{};
  console.hooks = &consoleOps;
  EXPECT_EQ(closeFile(0), errBadCall);
  EXPECT_EQ(console.hooks, &consoleOps);
  console.hooks = nullptr;
  for (int32_t number : {-1, 3, 256, -7}) {
    setRuntimeError(0);
    EXPECT_EQ(closeFile(number), errBadCall) << number;
    EXPECT_EQ(runtimeError(), errBadCall);
  }
}

TEST_F(FreeAndClose, CloseClearsTheHandleAndItsPushedBackBytes) {
  writeFile("data", "x");
  ASSERT_EQ(openFile("data", modeReadText, accessDefault, 0, 4, 0), 0);
  const uint8_t byte = 'q';
  ASSERT_EQ(pushBack(*fileHandleOf(4), &byte, 1), 0);
  setRuntimeError(errIoFailed);
  EXPECT_EQ(closeFile(4), 0);
  EXPECT_EQ(runtimeError(), 0);
  EXPECT_EQ(fileHandleOf(4)->hooks, nullptr);
  EXPECT_EQ(fileHandleOf(4)->pushBackLength, 0);
  EXPECT_EQ(closeFile(4), errBadCall);
}

TEST_F(FreeAndClose, CloseAllClosesDiskFilesAndClearsTheFlag) {
  writeFile("data", "x");
  ASSERT_EQ(openFile("out", modeWrite, accessDefault, 0, 3, 0), 0);
  ASSERT_EQ(diskFileOps.write(*fileHandleOf(3), "kept", 4), 0);
  ASSERT_EQ(openFile("data", modeReadText, accessDefault, 0, 200, 0), 0);
  closeAllFiles();
  EXPECT_EQ(runtimeState.filesInUse, 0);
  EXPECT_EQ(fileHandleOf(3)->hooks, nullptr);
  EXPECT_EQ(fileHandleOf(200)->hooks, nullptr);
  EXPECT_EQ(fileContents("out"), "kept");  // flushed by the close
}

}  // namespace

}  // namespace krgfx
