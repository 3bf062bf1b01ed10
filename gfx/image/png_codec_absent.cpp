// PNG in a build without the stb headers (KRGFX_PNG=OFF): PNG files are a
// format this build does not read or write.
#include "gfx/image/png_codec.h"

#include <krgfx/runtime.h>

namespace krgfx {

int32_t readPngInfo(std::FILE*, int32_t*, int32_t*, int32_t*) { return errIoFailed; }

int32_t loadPng(std::FILE*, void*) { return errIoFailed; }

int32_t writePng(std::FILE*, int32_t, int32_t, int32_t, const uint8_t*, int32_t) {
  return errIoFailed;
}

}  // namespace krgfx
