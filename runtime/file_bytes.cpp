// Byte input of a numbered file with up to four pushed-back bytes in front.
#include <algorithm>
#include <cstring>

#include <krgfx/runtime.h>
#include "runtime/files.h"

namespace krgfx {

int32_t pushBack(FileHandle& file, const uint8_t* bytes, int32_t n) {
  if (!file.hooks || n < 0 || (n > 0 && !bytes)) return errBadCall;
  int32_t waiting = file.pushBackLength;
  if (waiting + n > static_cast<int32_t>(sizeof file.pushBack)) return errIoFailed;
  std::memmove(file.pushBack + n, file.pushBack, static_cast<size_t>(waiting));
  std::memcpy(file.pushBack, bytes, static_cast<size_t>(n));
  file.pushBackLength = waiting + n;
  return 0;
}

int32_t readBytes(FileHandle& file, uint8_t* buffer, int32_t* length) {
  if (!length) return errBadCall;
  int32_t wanted = *length;
  *length = 0;
  if (!file.hooks || wanted < 0 || (wanted > 0 && !buffer)) return errBadCall;

  int32_t taken = std::min(wanted, file.pushBackLength);
  std::memcpy(buffer, file.pushBack, static_cast<size_t>(taken));
  std::memmove(file.pushBack, file.pushBack + taken,
               static_cast<size_t>(file.pushBackLength - taken));
  file.pushBackLength -= taken;
  *length = taken;
  if (taken == wanted) return 0;

  if (!file.hooks->read) return errBadCall;
  int32_t rest = wanted - taken;
  int32_t result = file.hooks->read(file, buffer + taken, &rest);
  *length = taken + std::clamp(rest, 0, wanted - taken);
  return result;
}

}  // namespace krgfx
