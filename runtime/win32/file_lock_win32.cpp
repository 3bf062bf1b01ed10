// Byte-range locks with LockFileEx: exclusive and without waiting, as
// LockFile takes them, on the stream's Win32 file handle.
#include <windows.h>

#include <io.h>

#include <krgfx/runtime.h>
#include "runtime/file_lock.h"

namespace krgfx {

int32_t changeFileLock(FILE* stream, uint32_t start, uint32_t count, bool lock) {
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  if (handle == INVALID_HANDLE_VALUE) return errIoFailed;
  OVERLAPPED where{};
  where.Offset = start;
  BOOL done = lock ? LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                count, 0, &where)
                   : UnlockFileEx(handle, 0, count, 0, &where);
  return done ? 0 : errIoFailed;
}

}  // namespace krgfx
