// Byte-range locks on an open disk file, the platform's own kind.
#pragma once

#include <cstdint>
#include <cstdio>

namespace krgfx {

// Locks (or, with lock false, releases) `count` bytes from `start` of the
// stream's file without waiting: 0, or errIoFailed when the platform
// refuses. On POSIX systems an open-file lock (shared for a stream opened
// only for reading); on Win32 an exclusive LockFileEx lock, which refuses a
// range that overlaps one already locked and an unlock of a range that is
// not locked exactly so.
int32_t changeFileLock(FILE* stream, uint32_t start, uint32_t count, bool lock);

}  // namespace krgfx
