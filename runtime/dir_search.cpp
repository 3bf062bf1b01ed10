// Finding directory entries by a name pattern and an attribute mask.
#include "runtime/dir_search.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "runtime/runtime.h"
#include "runtime/runtime_contexts.h"

namespace {

void closeSearch(DirSearch& search) {
  if (search.directory) closedir(search.directory);
  search.directory = nullptr;
  search.active = false;
}

// Only '*' and '?' are wildcards; every other byte of the pattern stands for
// itself, so names with '[' or '\' are found as written.
std::string literalExceptWildcards(const char* pattern) {
  std::string escaped;
  for (const char* p = pattern; *p; ++p) {
    if (*p != '*' && *p != '?') escaped.push_back('\\');
    escaped.push_back(*p);
  }
  return escaped;
}

bool startSearch(DirSearch& search, const char* pattern) {
  const char* slash = std::strrchr(pattern, '/');
  if (slash) {
    search.directoryPath.assign(pattern, slash == pattern ? 1 : slash - pattern);
  } else {
    search.directoryPath = ".";
  }
  search.namePattern = literalExceptWildcards(slash ? slash + 1 : pattern);
  search.directory = opendir(search.directoryPath.c_str());
  return search.directory != nullptr;
}

// Takes entries until one matches the name pattern and has no attribute bit
// outside the search's mask. At the end the search closes.
bool nextMatch(DirSearch& search) {
  while (dirent* entry = readdir(search.directory)) {
    if (fnmatch(search.namePattern.c_str(), entry->d_name, 0) != 0) continue;
    uint32_t attributes = entryAttributes(search.directory, entry->d_name);
    if (attributes & ~search.effectiveMask) continue;
    std::strncpy(search.lastName, entry->d_name, sizeof search.lastName - 1);
    search.lastName[sizeof search.lastName - 1] = '\0';
    search.lastAttributes = attributes;
    search.active = true;
    return true;
  }
  closeSearch(search);
  return false;
}

}  // namespace

uint32_t entryAttributes(DIR* directory, const char* name) {
  int directoryFd = dirfd(directory);
  uint32_t attributes = 0;
  struct stat status;
  if (fstatat(directoryFd, name, &status, 0) != 0 &&
      fstatat(directoryFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return attrSystem;  // vanished meanwhile: nothing an ordinary search wants
  }
  if (S_ISDIR(status.st_mode)) {
    attributes |= attrDirectory;
  } else if (S_ISREG(status.st_mode)) {
    attributes |= attrArchive;
  } else {
    attributes |= attrSystem;
  }
  if (name[0] == '.') attributes |= attrHidden;
  if (faccessat(directoryFd, name, W_OK, AT_EACCESS) != 0) attributes |= attrReadOnly;
  return attributes;
}

std::string findFirstFile(const std::string& pattern, int32_t attributeMask,
                          int32_t* outAttributes) {
  int32_t localAttributes;
  int32_t& attributes = outAttributes ? *outAttributes : localAttributes;
  DirSearch& search = runtimeContext<DirSearch>(contextDirSearch);
  const char* text = pattern.c_str();  // the pattern ends at its first zero byte

  if (*text) {
    closeSearch(search);
    if (!startSearch(search, text)) {
      attributes = 0;
      return {};
    }
    uint32_t mask = static_cast<uint32_t>(attributeMask);
    search.effectiveMask = mask & attrDirectory ? mask | 0xFFFFFF00u : mask | 0xFFFFFF20u;
  } else if (!search.active) {
    attributes = 0;
    return {};
  }
  if (!nextMatch(search)) {
    attributes = 0;
    return {};
  }
  attributes = static_cast<int32_t>(search.lastAttributes & 0xFF);
  return search.lastName;
}
