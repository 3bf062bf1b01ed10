// The "C" locale's strtod on Win32: mingw-w64's own conversion, which reads
// as C99's strtod does (infinity and not-a-number included) with '.' as the
// decimal point, where the C runtime's strtod knows neither.
#include <cstdlib>

#include "runtime/plain_real.h"

namespace krgfx {

double plainStrtod(const char* text) { return __mingw_strtod(text, nullptr); }

}  // namespace krgfx
