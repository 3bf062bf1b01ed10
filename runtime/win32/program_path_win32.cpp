// The program's file from GetModuleFileNameA.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/program_path.h"

namespace krgfx {

bool programFileName(char* name, size_t size) {
  if (size == 0) return false;
  name[0] = 0;
  char path[128] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0) return false;
  path[sizeof path - 1] = 0;  // a cut path is not terminated on every system
  const char* start = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') start = p + 1;
  std::snprintf(name, size, "%s", start);
  return true;
}

}  // namespace krgfx
