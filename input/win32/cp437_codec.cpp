// The code page 437 conversion through the Win32 code page routines: UTF-8
// to UTF-16, then to code page 437 without best-fit substitutes.
#include <windows.h>

#include "input/cp437_converter.h"

namespace krgfx {

namespace {

constexpr UINT codePage437 = 437;

}  // namespace

Cp437Converter::Cp437Converter() : platform_(nullptr) {}

Cp437Converter::~Cp437Converter() = default;

size_t Cp437Converter::convertWithPlatform(std::string_view character, char* out) {
  wchar_t wide[4];
  int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, character.data(),
                                  static_cast<int>(character.size()), wide, 4);
  if (units <= 0) return 0;
  BOOL usedDefault = FALSE;
  int bytes = WideCharToMultiByte(codePage437, WC_NO_BEST_FIT_CHARS, wide, units, out, 8, "?",
                                  &usedDefault);
  return bytes > 0 && !usedDefault ? static_cast<size_t>(bytes) : 0;
}

}  // namespace krgfx
