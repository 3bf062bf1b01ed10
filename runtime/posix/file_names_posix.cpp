// File names on POSIX systems: '/' is already the separator.
#include "runtime/file_names.h"

namespace krgfx {

std::string platformFileName(const char* name) { return name; }

}  // namespace krgfx
