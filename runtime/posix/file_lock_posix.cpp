// Byte-range locks with fcntl: open-file locks, which belong to the open
// file, so a second handle on the same file is refused as well.
#include <fcntl.h>
#include <unistd.h>

#include <krgfx/runtime.h>
#include "runtime/file_lock.h"

namespace krgfx {

int32_t changeFileLock(FILE* stream, uint32_t start, uint32_t count, bool lock) {
  int fd = fileno(stream);
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return errIoFailed;
  struct flock range {};
  range.l_type = !lock ? F_UNLCK : (flags & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = start;
  range.l_len = count;
  return fcntl(fd, F_OFD_SETLK, &range) == 0 ? 0 : errIoFailed;
}

}  // namespace krgfx
