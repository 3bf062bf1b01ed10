// File names on Win32: the backslash is the directory separator.
#include <algorithm>

#include "runtime/file_names.h"

namespace krgfx {

std::string platformFileName(const char* name) {
  std::string native = name;
  std::replace(native.begin(), native.end(), '/', '\\');
  return native;
}

}  // namespace krgfx
