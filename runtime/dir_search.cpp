// Finding directory entries by a name pattern and an attribute mask.
#include "runtime/dir_search.h"

#include <cstring>

#include <krgfx/runtime.h>
#include "runtime/runtime_contexts.h"

namespace krgfx {

namespace {

// Takes entries until one has no attribute bit outside the search's mask. At
// the end the search closes.
bool nextMatch(DirSearch& search) {
  std::string name;
  uint32_t attributes = 0;
  while (nextDirEntry(search.listing, name, attributes)) {
    if (attributes & ~search.effectiveMask) continue;
    std::strncpy(search.lastName, name.c_str(), sizeof search.lastName - 1);
    search.lastName[sizeof search.lastName - 1] = '\0';
    search.lastAttributes = attributes;
    search.active = true;
    return true;
  }
  closeDirSearch(search);
  return false;
}

}  // namespace

void closeDirSearch(DirSearch& search) {
  closeDirListing(search.listing);
  search.listing = nullptr;
  search.active = false;
}

std::string findFirstFile(const std::string& pattern, int32_t attributeMask,
                          int32_t* outAttributes) {
  int32_t localAttributes;
  int32_t& attributes = outAttributes ? *outAttributes : localAttributes;
  DirSearch& search = runtimeContext<DirSearch>(contextDirSearch);
  const char* text = pattern.c_str();  // the pattern ends at its first zero byte

  if (*text) {
    closeDirSearch(search);
    search.listing = openDirListing(text);
    if (!search.listing) {
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

}  // namespace krgfx
