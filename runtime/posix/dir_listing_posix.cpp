// Directory search on POSIX systems: readdir with fnmatch over the pattern's
// last part, names compared case-sensitively. The attribute word stands for
// what the file system has: a directory, a name starting with '.' (hidden),
// no write right for the user (read-only), anything that is no regular file
// or directory (system), and every regular file (archive).
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "runtime/dir_listing.h"
#include "runtime/dir_search.h"

namespace krgfx {

struct DirListing {
  DIR* directory;
  std::string namePattern;  // the pattern's last part, for fnmatch
};

namespace {

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

}  // namespace

DirListing* openDirListing(const char* pattern) {
  const char* slash = std::strrchr(pattern, '/');
  std::string directoryPath = ".";
  if (slash) directoryPath.assign(pattern, slash == pattern ? 1 : slash - pattern);
  DIR* directory = opendir(directoryPath.c_str());
  if (!directory) return nullptr;
  return new DirListing{directory, literalExceptWildcards(slash ? slash + 1 : pattern)};
}

bool nextDirEntry(DirListing* listing, std::string& name, uint32_t& attributes) {
  while (dirent* entry = readdir(listing->directory)) {
    if (fnmatch(listing->namePattern.c_str(), entry->d_name, 0) != 0) continue;
    name = entry->d_name;
    attributes = entryAttributes(listing->directory, entry->d_name);
    return true;
  }
  return false;
}

void closeDirListing(DirListing* listing) {
  if (!listing) return;
  closedir(listing->directory);
  delete listing;
}

}  // namespace krgfx
