// The program's file from /proc/self/exe.
#include <unistd.h>

#include <string>

#include "runtime/program_path.h"

namespace krgfx {

const char programPathSeparators[] = "/";

std::string programPath() {
  // A link's length is not known before reading it: grow until it fits.
  for (size_t size = 256; size <= 65536; size *= 2) {
    std::string path(size, '\0');
    ssize_t length = ::readlink("/proc/self/exe", path.data(), size);
    if (length <= 0) return {};
    if (static_cast<size_t>(length) < size) {
      path.resize(static_cast<size_t>(length));
      return path;
    }
  }
  return {};
}

}  // namespace krgfx
