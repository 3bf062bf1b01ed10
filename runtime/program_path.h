// The running program's own file.
#pragma once

#include <cstddef>

namespace krgfx {

// The file name of the program's executable, without its directory, from a
// path of at most 127 bytes (a longer one is cut there, as the window title
// takes it). False, with `name` empty, when the platform cannot tell.
bool programFileName(char* name, size_t size);

}  // namespace krgfx
