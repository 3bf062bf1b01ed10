// File names as the platform's file services take them.
#pragma once

#include <string>

namespace krgfx {

// `name` with the platform's directory separator: every '/' becomes a
// backslash on Win32; POSIX systems use names as given.
std::string platformFileName(const char* name);

}  // namespace krgfx
