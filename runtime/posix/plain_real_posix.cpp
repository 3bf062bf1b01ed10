// The "C" locale's strtod through a locale object of its own.
#include <locale.h>

#include <cstdlib>

#include "runtime/plain_real.h"

namespace krgfx {

double plainStrtod(const char* text) {
  static locale_t plainLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return plainLocale ? strtod_l(text, nullptr, plainLocale) : std::strtod(text, nullptr);
}

}  // namespace krgfx
