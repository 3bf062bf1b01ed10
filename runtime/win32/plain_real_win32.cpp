// The "C" locale's strtod through the Windows C runtime's locale objects.
#include <locale.h>
#include <cstdlib>

#include "runtime/plain_real.h"

double plainStrtod(const char* text) {
  static _locale_t plainLocale = _create_locale(LC_ALL, "C");
  return plainLocale ? _strtod_l(text, nullptr, plainLocale) : std::strtod(text, nullptr);
}
