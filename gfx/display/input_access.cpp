// The display layer's state as the input side reads it.
#include "gfx/display/input_access.h"

#include "gfx/display/display_driver.h"
#include "gfx/display/window_layer.h"
#include "gfx/screen.h"

namespace krgfx {

bool windowLayerActive() { return windowLayer.windowActive != 0; }
int32_t windowLayerWidth() { return windowLayer.width; }
int32_t windowLayerHeight() { return windowLayer.height; }
PicturePlacement windowLayerPicture() {
  PicturePlacement picture = windowLayer.picture;
  if (picture.scale < 1) picture.scale = 1;
  return picture;
}
WindowSystem* windowLayerSystem() { return windowLayer.system; }
bool windowLayerLost() { return windowLayer.windowGone; }

DriverReadMouse screenDriverReadMouse() {
  return gfxScreen && gfxScreen->driver ? gfxScreen->driver->readMouse : nullptr;
}

DriverPlaceMouse screenDriverPlaceMouse() {
  return gfxScreen && gfxScreen->driver ? gfxScreen->driver->placeMouse : nullptr;
}

}  // namespace krgfx
