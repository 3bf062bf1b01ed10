// The process's one directory search, kept in its runtime context block.
#pragma once

#include <cstdint>

#include "runtime/dir_listing.h"

namespace krgfx {

// Attribute bits of a directory entry.
constexpr uint32_t attrReadOnly = 0x01;
constexpr uint32_t attrHidden = 0x02;
constexpr uint32_t attrSystem = 0x04;
constexpr uint32_t attrDirectory = 0x10;
constexpr uint32_t attrArchive = 0x20;

struct DirSearch {
  bool active;
  uint32_t effectiveMask;
  char lastName[261];  // the last entry found
  uint32_t lastAttributes;
  DirListing* listing;  // the platform's search

  ~DirSearch() { closeDirListing(listing); }
};

// Ends the process's search, if one is open.
void closeDirSearch(DirSearch& search);

}  // namespace krgfx
