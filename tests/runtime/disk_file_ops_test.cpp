#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

class DiskFile : public RuntimeFileTest {
 protected:
  FileHandle& open(const std::string& name, int32_t mode, int32_t number = 1,
                   int32_t access = accessDefault) {
    EXPECT_EQ(openFile(name, mode, access, 0, number, 0), 0);
    return *fileHandleOf(number);
  }
};

TEST_F(DiskFile, ShortReadZeroFillsTheRestOfTheBuffer) {
  writeFile("data", "abc");
  FileHandle& file = open("data", modeReadText);
  char buffer[6] = {'#', '#', '#', '#', '#', '#'};
  int32_t length = 6;
  EXPECT_EQ(diskFileOps.read(file, buffer, &length), 0);
  EXPECT_EQ(length, 3);
  EXPECT_EQ(std::string(buffer, 6), std::string("abc\0\0\0", 6));
  length = -1;
  EXPECT_EQ(diskFileOps.read(file, buffer, &length), errBadCall);
}

TEST_F(DiskFile, SeekTellAndEndOfFileByMode) {
  writeFile("data", "0123456789");
  FileHandle& bytes = open("data", modeBytes, 1);
  int64_t position = -1;
  EXPECT_EQ(diskFileOps.seek(bytes, -3, 2), 0);
  EXPECT_EQ(diskFileOps.tell(bytes, &position), 0);
  EXPECT_EQ(position, 7);
  EXPECT_EQ(diskFileOps.eof(bytes), 0);
  EXPECT_EQ(diskFileOps.seek(bytes, 3, 1), 0);
  EXPECT_EQ(diskFileOps.eof(bytes), -1);  // at the length measured at open
  EXPECT_EQ(diskFileOps.seek(bytes, 2, 0), 0);
  EXPECT_EQ(diskFileOps.tell(bytes, &position), 0);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(diskFileOps.seek(bytes, -5, 0), errIoFailed);
  EXPECT_EQ(diskFileOps.seek(bytes, 0, 3), errBadCall);

  FileHandle& text = open("data", modeReadText, 2);
  EXPECT_EQ(diskFileOps.seek(text, 9, 0), 0);
  EXPECT_EQ(diskFileOps.eof(text), 0);  // looks at the next byte and keeps it
  char last = 0;
  int32_t length = 1;
  EXPECT_EQ(diskFileOps.read(text, &last, &length), 0);
  EXPECT_EQ(last, '9');
  EXPECT_EQ(diskFileOps.eof(text), -1);
}

TEST_F(DiskFile, WritesReachTheFileThroughFlush) {
  FileHandle& file = open("out", modeWrite);
  EXPECT_EQ(diskFileOps.write(file, "hello", 5), 0);
  const char16_t wide[] = u"hi";
  EXPECT_EQ(diskFileOps.writeWide(file, wide, 2), 0);
  EXPECT_EQ(fileContents("out"), "");  // still in the 8192-byte buffer
  EXPECT_EQ(diskFileOps.flush(file), 0);
  EXPECT_EQ(fileContents("out"),
            "hello" + std::string("h\0i\0", 4));  // 16-bit units, low byte first
  EXPECT_EQ(diskFileOps.write(file, "x", -1), errBadCall);
}

TEST_F(DiskFile, BufferIsFullAndEightKilobytes) {
  FileHandle& file = open("out", modeWrite);
  std::string block(streamBufferSize - 1, 'a');
  EXPECT_EQ(diskFileOps.write(file, block.data(), static_cast<int32_t>(block.size())), 0);
  EXPECT_EQ(std::filesystem::file_size("out"), 0u);
  EXPECT_EQ(diskFileOps.write(file, "\n", 1), 0);  // a line end does not flush
  EXPECT_EQ(std::filesystem::file_size("out"), 0u);
  EXPECT_EQ(diskFileOps.write(file, "b", 1), 0);
  EXPECT_EQ(std::filesystem::file_size("out"), static_cast<uintmax_t>(streamBufferSize));
}

TEST_F(DiskFile, ReadLineDropsTheLineEnd) {
  writeFile("lines", "first\r\nsecond\nlast");
  FileHandle& file = open("lines", modeReadText);
  std::string line;
  EXPECT_EQ(diskFileOps.readLine(file, &line), 0);
  EXPECT_EQ(line, "first");
  EXPECT_EQ(diskFileOps.readLine(file, &line), 0);
  EXPECT_EQ(line, "second");
  EXPECT_EQ(diskFileOps.readLine(file, &line), 0);
  EXPECT_EQ(line, "last");
  EXPECT_EQ(diskFileOps.readLine(file, &line), errIoFailed);
  EXPECT_EQ(line, "");
}

TEST_F(DiskFile, LocksExcludeOtherHandlesOfTheSameFile) {
  writeFile("shared", "0123456789");
  FileHandle& first = open("shared", modeBytes, 1);
  FileHandle& second = open("shared", modeBytes, 2);
  EXPECT_EQ(diskFileOps.lock(first, 2, 4), 0);
  EXPECT_EQ(diskFileOps.lock(second, 4, 1), errIoFailed);
  EXPECT_EQ(diskFileOps.lock(second, 6, 2), 0);  // outside the first range
  EXPECT_EQ(diskFileOps.unlock(first, 2, 4), 0);
  EXPECT_EQ(diskFileOps.lock(second, 4, 1), 0);
  // Only the low 32 bits of offset and length count: a length of 2^32 is 0.
  EXPECT_EQ(diskFileOps.lock(first, 0, 0), errBadCall);
  EXPECT_EQ(diskFileOps.lock(first, 0, int64_t{1} << 32), errBadCall);
  EXPECT_EQ(diskFileOps.lock(first, (int64_t{1} << 32) + 4, 1), errIoFailed);
}

TEST_F(DiskFile, SlotsWithoutAStreamRefuse) {
  FileHandle file{};
  file.hooks = &diskFileOps;
  char buffer[4];
  int32_t length = 4;
  int64_t position;
  std::string line;
  EXPECT_EQ(diskFileOps.eof(file), -1);
  EXPECT_EQ(diskFileOps.close(file), 0);
  EXPECT_EQ(diskFileOps.seek(file, 0, 0), errBadCall);
  EXPECT_EQ(diskFileOps.tell(file, &position), errBadCall);
  EXPECT_EQ(diskFileOps.read(file, buffer, &length), errBadCall);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(diskFileOps.write(file, buffer, 4), errBadCall);
  EXPECT_EQ(diskFileOps.lock(file, 0, 1), errBadCall);
  EXPECT_EQ(diskFileOps.unlock(file, 0, 1), errBadCall);
  EXPECT_EQ(diskFileOps.readLine(file, &line), errBadCall);
  EXPECT_EQ(diskFileOps.flush(file), errBadCall);
  EXPECT_EQ(diskFileOps.unused, nullptr);
}

using PushBack = RuntimeFileTest;

TEST_F(PushBack, HoldsFourBytesReadBeforeTheFile) {
  writeFile("data", "xyz");
  ASSERT_EQ(openFile("data", modeReadText, accessDefault, 0, 1, 0), 0);
  FileHandle& file = *fileHandleOf(1);
  const uint8_t later[] = {'c', 'd'};
  const uint8_t first[] = {'a', 'b'};
  EXPECT_EQ(pushBack(file, later, 2), 0);
  EXPECT_EQ(pushBack(file, first, 2), 0);
  EXPECT_EQ(pushBack(file, first, 1), errIoFailed);
  EXPECT_EQ(file.pushBackLength, 4);

  uint8_t buffer[8] = {};
  int32_t length = 3;
  EXPECT_EQ(readBytes(file, buffer, &length), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), "abc");
  EXPECT_EQ(file.pushBackLength, 1);
  length = 8;
  EXPECT_EQ(readBytes(file, buffer, &length), 0);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "dxyz");
}

TEST_F(PushBack, RefusesClosedHandlesAndMissingReadSlots) {
  FileHandle closed{};
  const uint8_t byte = 'a';
  uint8_t buffer[2];
  int32_t length = 1;
  EXPECT_EQ(pushBack(closed, &byte, 1), errBadCall);
  EXPECT_EQ(readBytes(closed, buffer, &length), errBadCall);
  EXPECT_EQ(length, 0);

  static const FileOps noOperations{};
  FileHandle console{};
  console.hooks = &noOperations;
  EXPECT_EQ(pushBack(console, &byte, 1), 0);
  length = 2;
  EXPECT_EQ(readBytes(console, buffer, &length), errBadCall);
  EXPECT_EQ(length, 1);  // the pushed-back byte still arrives
  EXPECT_EQ(buffer[0], 'a');
}

}  // namespace

}  // namespace krgfx
