// Counts the presenter threads of this process, by their thread names.
#pragma once

#include <dirent.h>

#include <fstream>
#include <string>

inline int presenterThreadCount() {
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
