// The platform's directory search: the entries of one directory whose names
// match a pattern, with their attribute words.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

struct DirListing;  // an open search, the platform's own

// Starts a search for `pattern`: '*' and '?' are wildcards in its last part,
// names are compared as the platform compares them. Null when the directory
// cannot be read or, where the platform tells at once, nothing matches.
DirListing* openDirListing(const char* pattern);
// The next matching entry: its name (the name alone) and attribute word.
// False when the search has no more entries.
bool nextDirEntry(DirListing* listing, std::string& name, uint32_t& attributes);
// Ends the search; null is ignored.
void closeDirListing(DirListing* listing);

}  // namespace krgfx
