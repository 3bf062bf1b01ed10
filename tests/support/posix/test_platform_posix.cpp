// The tests' platform services on POSIX systems.
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/presenter_threads.h"
#include "support/test_platform.h"

namespace krgfx {

void setTestEnvironment(const char* name, const char* value) {
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

int testProcessId() { return static_cast<int>(getpid()); }

bool runsAsSuperuser() { return geteuid() == 0; }

int presenterThreadCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
      std::string name;
      std::getline(comm, name);
      if (name == "krgfx-presenter") ++count;
    }
    closedir(tasks);
  }
  return count;
}

}  // namespace krgfx
