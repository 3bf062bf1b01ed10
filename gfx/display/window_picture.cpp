// The picture in the window: its scale and place for a window, for full
// screen at a display mode and for full screen at the desktop's own mode,
// the Blitter that draws it there, and the client rows it covers.
#include <algorithm>

#include <krgfx/gfx.h>
#include "gfx/display/window_layer.h"

namespace krgfx {

namespace {

WindowSpec baseWindowSpec() {
  const WindowLayer& layer = windowLayer;
  WindowSpec windowSpec{};
  windowSpec.title = layer.title;
  windowSpec.className = layer.className;
  windowSpec.frameless = (layer.flags & flagFullScreen) || (layer.flags & flagNoFrame);
  windowSpec.topmost = layer.flags & flagTopmost;
  windowSpec.canMaximise = !(layer.flags & flagNoSwitch);
  windowSpec.fullScreen = layer.flags & flagFullScreen;
  return windowSpec;
}

// Records the client size and the picture, and tells the window system.
WindowSpec placePicture(WindowSpec windowSpec, PicturePlacement picture) {
  WindowLayer& layer = windowLayer;
  layer.picture = picture;
  layer.clientWidth = windowSpec.width;
  layer.clientHeight = windowSpec.height;
  windowSpec.picture = {picture.x, picture.y, picture.x + layer.width * picture.scale,
                        picture.y + layer.height * picture.scale};
  return windowSpec;
}

}  // namespace

WindowSpec mainWindowSpec(int32_t height) {
  const WindowLayer& layer = windowLayer;
  WindowSpec windowSpec = baseWindowSpec();
  if (windowSpec.fullScreen) {
    windowSpec.width = layer.width;
    windowSpec.height = height;
    return placePicture(windowSpec, {0, (height - layer.height) / 2, 1});
  }
  int32_t scale = 1;
  WindowRect area{0, 0, layer.width, layer.height};
  if (WindowSystem* system = layer.system) {
    area = system->workArea();
    scale = windowScale(requestedDisplayScale(), system->desktopDpi(), layer.width, layer.height,
                        area);
  }
  windowSpec.width = layer.width * scale;
  windowSpec.height = layer.height * scale;
  windowSpec.centred = true;
  windowSpec.x = area.left + (area.right - area.left - windowSpec.width) / 2;
  windowSpec.y = area.top + (area.bottom - area.top - windowSpec.height) / 2;
  return placePicture(windowSpec, {0, 0, scale});
}

bool desktopWindowSpec(WindowSpec* windowSpec) {
  const WindowLayer& layer = windowLayer;
  if (!layer.system) return false;
  WindowRect screen = layer.system->screenRect();
  PicturePlacement picture = desktopPicture(layer.width, layer.height, screen);
  if (picture.scale < 1) return false;
  WindowSpec cover = baseWindowSpec();
  cover.x = screen.left;
  cover.y = screen.top;
  cover.width = screen.right - screen.left;
  cover.height = screen.bottom - screen.top;
  *windowSpec = placePicture(cover, picture);
  return true;
}

bool fullScreenWindowSpec(WindowSpec* windowSpec, int32_t (*setMode)()) {
  WindowLayer& layer = windowLayer;
  int32_t modeHeight = desktopFullScreenWanted() ? 0 : setMode();
  if (modeHeight <= 0) return desktopWindowSpec(windowSpec);
  layer.modeChanged = true;
  layer.modeHeight = modeHeight;
  *windowSpec = mainWindowSpec(modeHeight);
  return true;
}

bool chooseWindowBlitter(DisplayFormat format) {
  WindowLayer& layer = windowLayer;
  layer.displayPixelBytes = displayBytesPerPixel(format.depth);
  layer.blitter = nullptr;
  layer.scaledBlitter = nullptr;
  if (layer.picture.scale > 1)
    layer.scaledBlitter = chooseScaledBlitter(format.depth, format.rgbOrder);
  else
    layer.blitter = chooseBlitter(format.depth, format.rgbOrder);
  return layer.blitter || layer.scaledBlitter;
}

void convertPicture(uint8_t* clientRows, int32_t pitch, bool readable) {
  const WindowLayer& layer = windowLayer;
  uint8_t* corner = clientRows + static_cast<ptrdiff_t>(layer.picture.y) * pitch +
                    static_cast<ptrdiff_t>(layer.picture.x) * layer.displayPixelBytes;
  if (layer.scaledBlitter)
    layer.scaledBlitter(corner, pitch, layer.picture.scale);
  else if (layer.blitter == copyBlitter && readable)
    copyChangedBlitter(corner, pitch);  // rows the surface shows already are only read
  else if (layer.blitter)
    layer.blitter(corner, pitch);
}

void pictureClientRows(int32_t first, int32_t last, int32_t* clientFirst, int32_t* clientLast) {
  const PicturePlacement& picture = windowLayer.picture;
  const int32_t scale = std::max(picture.scale, 1);
  *clientFirst = picture.y + first * scale;
  *clientLast = picture.y + (last + 1) * scale - 1;
}

}  // namespace krgfx
