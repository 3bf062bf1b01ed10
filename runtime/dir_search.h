// The process's one directory search, kept in its runtime context block.
#pragma once

#include <dirent.h>

#include <cstdint>
#include <string>

// Attribute bits of a directory entry.
constexpr uint32_t attrReadOnly = 0x01;
constexpr uint32_t attrHidden = 0x02;
constexpr uint32_t attrSystem = 0x04;
constexpr uint32_t attrDirectory = 0x10;
constexpr uint32_t attrArchive = 0x20;

struct DirSearch {
  bool active;
  uint32_t effectiveMask;
  char lastName[261];       // the last entry found
  uint32_t lastAttributes;
  DIR* directory;           // the platform's search: the open directory,
  std::string directoryPath;  // its path as the pattern gave it,
  std::string namePattern;    // and the pattern's last part for fnmatch

  ~DirSearch() {
    if (directory) closedir(directory);
  }
};

// The attribute word of the entry `name` of an open directory.
uint32_t entryAttributes(DIR* directory, const char* name);
