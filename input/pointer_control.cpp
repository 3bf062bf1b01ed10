// The window layer's readMouse and placeMouse, and the pointer shape over
// the client area.
#include <algorithm>

#include <krgfx/input.h>
#include "gfx/display/input_access.h"
#include "input/window_input.h"

namespace krgfx {

int32_t windowReadMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  if (!windowLayerActive() || !mouseState.mouseInside) return -1;
  *x = mouseState.mouseX;
  *y = mouseState.mouseY;
  *wheel = mouseState.mouseWheel;
  *buttons = mouseState.mouseButtons;
  *clip = mouseState.mouseClip;
  return 0;
}

void applyPointerShape(WindowSystem& system) {
  system.showPointer(!mouseState.mouseInside || mouseState.cursorVisible);
}

namespace {

// Rounds towards minus infinity: a client position left of the picture maps
// to a negative pixel.
int32_t floorDivide(int32_t value, int32_t divisor) {
  int32_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

WindowRect pictureOnScreen(WindowSystem& system) {
  WindowRect client = system.clientRectOnScreen();
  PicturePlacement picture = windowLayerPicture();
  int32_t left = client.left + picture.x, top = client.top + picture.y;
  return {left, top, left + windowLayerWidth() * picture.scale,
          top + windowLayerHeight() * picture.scale};
}

int32_t clientToPictureX(int32_t x) {
  PicturePlacement picture = windowLayerPicture();
  return floorDivide(x - picture.x, picture.scale);
}

int32_t clientToPictureY(int32_t y) {
  PicturePlacement picture = windowLayerPicture();
  return floorDivide(y - picture.y, picture.scale);
}

int32_t pictureToClientX(int32_t x) {
  PicturePlacement picture = windowLayerPicture();
  return picture.x + x * picture.scale + picture.scale / 2;
}

int32_t pictureToClientY(int32_t y) {
  PicturePlacement picture = windowLayerPicture();
  return picture.y + y * picture.scale + picture.scale / 2;
}

namespace {

void movePointerTo(WindowSystem* system, int32_t x, int32_t y) {
  if (system && !system->canMovePointer()) return;
  if (x == mouseNotGiven) x = mouseState.mouseX;
  if (y == mouseNotGiven) y = mouseState.mouseY;
  mouseState.mouseInside = 1;
  mouseState.mouseX = std::clamp(x, 0, std::max(windowLayerWidth() - 1, 0));
  mouseState.mouseY = std::clamp(y, 0, std::max(windowLayerHeight() - 1, 0));
  if (!system) return;
  // The client area's corner is the screen's corner in full screen.
  WindowRect client = system->clientRectOnScreen();
  system->movePointer(client.left + pictureToClientX(mouseState.mouseX),
                      client.top + pictureToClientY(mouseState.mouseY));
}

void setPointerVisible(WindowSystem* system, int32_t cursor) {
  if (cursor < 0) return;
  int32_t visible = cursor > 0 ? 1 : 0;
  if (mouseState.cursorVisible == visible) return;
  mouseState.cursorVisible = visible;
  if (system) applyPointerShape(*system);
}

void setPointerConfined(WindowSystem* system, int32_t clip) {
  if (clip < 0) return;
  mouseState.mouseClip = clip > 0 ? 1 : 0;
  if (system) system->confinePointer(clip > 0);
}

}  // namespace

int32_t windowPlaceMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
  WindowSystem* system = windowLayerSystem();
  if (x != mouseNotGiven || y != mouseNotGiven) movePointerTo(system, x, y);
  setPointerVisible(system, cursor);
  setPointerConfined(system, clip);
  return 0;
}

}  // namespace krgfx
