// loadImageFile: opens the file, tells a raw dump from a BMP by its first
// byte, and records the result.
#include "gfx/image/image_loader.h"

#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/display/display_driver.h"
#include "gfx/draw_context.h"
#include "gfx/image/png_codec.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {
constexpr size_t fileNameLimit = 259;
}  // namespace

void refreshDisplayPalette() {
  const DisplayDriver* driver = gfxScreen ? gfxScreen->driver : nullptr;
  if (!driver || !driver->setPaletteEntry) return;
  for (int32_t i = 0; i < 256; ++i) {
    uint32_t colour = gfxScreen->devicePalette[i];
    driver->setPaletteEntry(i, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  }
}

int32_t loadImageStream(std::FILE* file, void* destination, uint32_t* palette) {
  if (!destination && !gfxScreen) return errBadCall;
  DrawContext& context = currentContext();
  bindTarget(context, nullptr);
  chooseWriteMode(context, 0xFF000000u);
  int kind = std::fgetc(file);
  if (kind == 0xFD || kind == 0xFE) return loadRawDump(file, kind, destination, palette);
  if (kind != 'B' && kind != pngFirstByte) return errIoFailed;
  std::rewind(file);
  return kind == 'B' ? loadBmp(file, destination, palette) : loadPng(file, destination);
}

int32_t loadImageFile(const std::string& fileName, void* destination, uint32_t* palette) {
  setRuntimeError(0);
  currentContext();
  if (!destination && !gfxScreen) return setRuntimeError(errBadCall);
  std::string name = fileName.substr(0, fileNameLimit);
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) return setRuntimeError(errNoFile);
  int32_t result = loadImageStream(file, destination, palette);
  std::fclose(file);
  return setRuntimeError(result);
}

}  // namespace krgfx
