// Directory search on Win32: FindFirstFileA and FindNextFileA, whose
// entries carry the file system's own attribute word (read-only, hidden,
// system, directory, archive); the system matches the wildcards and
// compares names without regard to case.
#include <windows.h>

#include "runtime/dir_listing.h"

namespace krgfx {

struct DirListing {
  HANDLE find;
  WIN32_FIND_DATAA entry;  // the entry the next call hands out
  bool entryWaiting;
};

DirListing* openDirListing(const char* pattern) {
  auto* listing = new DirListing{};
  listing->find = FindFirstFileA(pattern, &listing->entry);
  if (listing->find == INVALID_HANDLE_VALUE) {
    delete listing;
    return nullptr;
  }
  listing->entryWaiting = true;
  return listing;
}

bool nextDirEntry(DirListing* listing, std::string& name, uint32_t& attributes) {
  if (!listing->entryWaiting && !FindNextFileA(listing->find, &listing->entry)) return false;
  listing->entryWaiting = false;
  name = listing->entry.cFileName;
  // A file with no attribute at all reports "normal", which the attribute
  // word of a directory search has no bit for.
  DWORD word = listing->entry.dwFileAttributes;
  attributes = word == FILE_ATTRIBUTE_NORMAL ? 0 : static_cast<uint32_t>(word);
  return true;
}

void closeDirListing(DirListing* listing) {
  if (!listing) return;
  FindClose(listing->find);
  delete listing;
}

}  // namespace krgfx
