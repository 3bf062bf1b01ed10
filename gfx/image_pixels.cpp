// imagePixels: the pixel rows of an image or of the screen's work page.
#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/image_format.h"
#include "gfx/screen.h"

namespace krgfx {

uint8_t* imagePixels(ImageBuffer* image, int32_t* width, int32_t* height, int32_t* pitch,
                     int32_t* bytesPerPixel) {
  ImageLayout layout;
  if (image) {
    layout = readImageLayout(image, gfxScreen ? gfxScreen->bytesPerPixel : 4);
  } else if (gfxScreen) {
    GfxScreen& screen = *gfxScreen;
    screen.pixelsHandedOut = true;  // from now on the program's marks are all we know
    layout = {screen.bytesPerPixel,
              screen.width,
              screen.height,
              screen.pitch,
              screen.pages[currentContext().workPage],
              false};
  } else {
    setRuntimeError(errBadCall);
    return nullptr;
  }
  if (width) *width = layout.width;
  if (height) *height = layout.height;
  if (pitch) *pitch = layout.pitch;
  if (bytesPerPixel) *bytesPerPixel = layout.bytesPerPixel;
  setRuntimeError(0);
  return layout.pixels;
}

}  // namespace krgfx
