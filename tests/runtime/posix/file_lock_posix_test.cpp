// Byte-range locks on POSIX systems: open-file locks, which a handle may
// take again and release without holding, and which readers share.
#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

using FileLock = RuntimeFileTest;

TEST_F(FileLock, AHandleRelocksAndReleasesFreely) {
  writeFile("shared", "0123456789");
  ASSERT_EQ(openFile("shared", modeBytes, accessReadWrite, 0, 1, 0), 0);
  FileHandle& file = *fileHandleOf(1);
  EXPECT_EQ(diskFileOps.lock(file, 0, 4), 0);
  EXPECT_EQ(diskFileOps.lock(file, 2, 4), 0);    // overlaps its own lock
  EXPECT_EQ(diskFileOps.unlock(file, 8, 2), 0);  // nothing locked there
}

TEST_F(FileLock, ReadersShareARange) {
  writeFile("shared", "0123456789");
  ASSERT_EQ(openFile("shared", modeBytes, accessRead, 0, 1, 0), 0);
  ASSERT_EQ(openFile("shared", modeBytes, accessRead, 0, 2, 0), 0);
  EXPECT_EQ(diskFileOps.lock(*fileHandleOf(1), 0, 4), 0);
  EXPECT_EQ(diskFileOps.lock(*fileHandleOf(2), 0, 4), 0);
}

}  // namespace

}  // namespace krgfx
