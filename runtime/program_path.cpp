// The program's name from the path of its executable.
#include "runtime/program_path.h"

namespace krgfx {

std::string programNameOf(std::string_view path, std::string_view separators, size_t limit) {
  size_t slash = path.find_last_of(separators);
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.rfind('.'));
  return std::string(name.substr(0, limit));
}

}  // namespace krgfx
