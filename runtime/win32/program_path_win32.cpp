// The program's file from GetModuleFileNameA.
#include <windows.h>

#include <string>

#include "runtime/program_path.h"

namespace krgfx {

const char programPathSeparators[] = "\\/";

std::string programPath() {
  // A path that fills the buffer may have been cut: grow until it fits.
  for (DWORD size = 260; size <= 65536; size *= 2) {
    std::string path(size, '\0');
    DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
  return {};
}

}  // namespace krgfx
