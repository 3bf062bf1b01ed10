// Byte-range locks on Win32: exclusive LockFileEx locks, which refuse an
// overlap even from the handle that holds them, refuse to release a range
// that is not locked exactly so, and keep readers out as well.
#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

using FileLock = RuntimeFileTest;

TEST_F(FileLock, AHandleCannotOverlapOrReleaseWhatItDoesNotHold) {
  writeFile("shared", "0123456789");
  ASSERT_EQ(openFile("shared", modeBytes, accessReadWrite, 0, 1, 0), 0);
  FileHandle& file = *fileHandleOf(1);
  EXPECT_EQ(diskFileOps.lock(file, 0, 4), 0);
  EXPECT_EQ(diskFileOps.lock(file, 2, 4), errIoFailed);    // overlaps its own lock
  EXPECT_EQ(diskFileOps.unlock(file, 8, 2), errIoFailed);  // nothing locked there
  EXPECT_EQ(diskFileOps.unlock(file, 0, 2), errIoFailed);  // part of a lock
  EXPECT_EQ(diskFileOps.unlock(file, 0, 4), 0);
  EXPECT_EQ(diskFileOps.lock(file, 2, 4), 0);
}

TEST_F(FileLock, ReadersDoNotShareARange) {
  writeFile("shared", "0123456789");
  ASSERT_EQ(openFile("shared", modeBytes, accessRead, 0, 1, 0), 0);
  ASSERT_EQ(openFile("shared", modeBytes, accessRead, 0, 2, 0), 0);
  EXPECT_EQ(diskFileOps.lock(*fileHandleOf(1), 0, 4), 0);
  EXPECT_EQ(diskFileOps.lock(*fileHandleOf(2), 0, 4), errIoFailed);
}

}  // namespace

}  // namespace krgfx
