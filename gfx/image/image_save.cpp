// saveImageFile: the pixels of an image or the screen's work page written as
// a BMP or, by the name's ending, a PNG.
#include <algorithm>
#include <cctype>
#include <memory>
#include <new>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/image_saving.h"
#include "gfx/image/image_target.h"
#include "gfx/image/png_codec.h"
#include "gfx/image/target_clip.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

bool hasPngEnding(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ending = name.substr(name.size() - 4);
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ending == ".png";
}

// A caller's palette has 6-bit components; each becomes 8 bits by repeating
// its top bits below it.
void widenPalette(const uint32_t* palette, uint32_t* colours) {
  for (int32_t i = 0; i < 256; ++i) {
    uint32_t sixBit = palette[i] & 0x3F3F3F;
    colours[i] = sixBit << 2 | (sixBit >> 4 & 0x030303);
  }
}

// A pixel of the picture as 0xAARRGGBB.
uint32_t colourAt(const SavedPicture& picture, int32_t x, int32_t y) {
  const uint8_t* at = picture.rows[y] + static_cast<ptrdiff_t>(x) * picture.bytesPerPixel;
  if (picture.bytesPerPixel == 1) {
    uint32_t colour = picture.colours[*at];  // 0x00BBGGRR
    return 0xFF000000u | (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
  }
  if (picture.bytesPerPixel == 2) {
    uint32_t pixel = at[0] | at[1] << 8;
    uint32_t red = pixel >> 11, green = pixel >> 5 & 0x3F, blue = pixel & 0x1F;
    red = red << 3 | red >> 2, green = green << 2 | green >> 4, blue = blue << 3 | blue >> 2;
    return 0xFF000000u | red << 16 | green << 8 | blue;
  }
  return static_cast<uint32_t>(at[0] | at[1] << 8 | at[2] << 16) | static_cast<uint32_t>(at[3])
                                                                       << 24;
}

// 32-bit pixels carry alpha unless every alpha byte is 0: drawing leaves
// alpha 0, and such a picture is meant to be seen.
bool carriesAlpha(const SavedPicture& picture) {
  if (picture.bytesPerPixel != 4) return false;
  for (int32_t y = 0; y < picture.height; ++y)
    for (int32_t x = 0; x < picture.width; ++x)
      if (picture.rows[y][x * 4 + 3] != 0) return true;
  return false;
}

}  // namespace

int32_t savePng(std::FILE* file, const SavedPicture& picture) {
  int32_t channels = carriesAlpha(picture) ? 4 : 3;
  size_t stride = static_cast<size_t>(picture.width) * channels;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[stride * picture.height]);
  if (!pixels) return errNoMemory;
  for (int32_t y = 0; y < picture.height; ++y) {
    uint8_t* out = pixels.get() + stride * y;
    for (int32_t x = 0; x < picture.width; ++x, out += channels) {
      uint32_t colour = colourAt(picture, x, y);
      out[0] = static_cast<uint8_t>(colour >> 16);
      out[1] = static_cast<uint8_t>(colour >> 8);
      out[2] = static_cast<uint8_t>(colour);
      if (channels == 4) out[3] = static_cast<uint8_t>(colour >> 24);
    }
  }
  return writePng(file, picture.width, picture.height, channels, pixels.get(),
                  static_cast<int32_t>(stride));
}

int32_t saveImageStream(std::FILE* file, bool png, const void* source, const uint32_t* palette) {
  if (!gfxScreen) return errBadCall;
  DrawContext& context = currentContext();
  prepareTarget(context, const_cast<void*>(source));
  ImageLayout layout = targetLayout(context);
  if (!isUsableLayout(layout) || layout.width < 1 || layout.height < 1) return errBadCall;
  uint32_t colours[256];
  if (palette)
    widenPalette(palette, colours);
  else
    std::copy(gfxScreen->devicePalette, gfxScreen->devicePalette + 256, colours);
  SavedPicture picture{layout.bytesPerPixel, layout.width, layout.height, context.rowTable,
                       colours};
  lockScreen();
  int32_t result = png ? savePng(file, picture) : writeBmp(file, picture);
  unlockScreen(1, 0);
  return result;
}

int32_t saveImageFile(const std::string& fileName, const ImageBuffer* source,
                      const uint32_t* palette) {
  if (!gfxScreen) return setRuntimeError(errBadCall);
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) return setRuntimeError(errNoFile);
  int32_t result = saveImageStream(file, hasPngEnding(fileName), source, palette);
  if (std::fclose(file) != 0 && result == 0) result = errIoFailed;
  if (result != 0) std::remove(fileName.c_str());  // no half-written picture stays behind
  return setRuntimeError(result);
}

}  // namespace krgfx
