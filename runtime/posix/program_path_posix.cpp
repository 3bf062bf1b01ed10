// The program's file from /proc/self/exe.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "runtime/program_path.h"

namespace krgfx {

bool programFileName(char* name, size_t size) {
  if (size == 0) return false;
  name[0] = 0;
  char path[128] = {};
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return false;
  path[length] = 0;
  const char* slash = std::strrchr(path, '/');
  std::snprintf(name, size, "%s", slash ? slash + 1 : path);
  return true;
}

}  // namespace krgfx
