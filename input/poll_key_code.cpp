// pollKeyCode: pollKey's one or two bytes as waitKey's code.
#include <krgfx/input.h>

namespace krgfx {

int32_t pollKeyCode() {
  std::string key = pollKey();
  if (key.empty()) return 0;
  auto byte = [&key](size_t i) { return static_cast<int32_t>(static_cast<uint8_t>(key[i])); };
  if (key.size() == 1) return byte(0);
  return byte(1) << 8 | byte(0);
}

}  // namespace krgfx
