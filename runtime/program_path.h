// The running program's own file, and the name a window takes from it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace krgfx {

// The whole path of the program's executable, however deep its folder;
// empty when the platform cannot tell.
std::string programPath();
// The characters that end a directory in such a path.
extern const char programPathSeparators[];

// The program's name from its path: the part after the last separator, cut
// at its last dot, then at `limit` bytes.
std::string programNameOf(std::string_view path, std::string_view separators, size_t limit);

}  // namespace krgfx
