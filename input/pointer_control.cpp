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

void movePointerTo(WindowSystem* system, int32_t x, int32_t y) {
  if (x == mouseNotGiven) x = mouseState.mouseX;
  if (y == mouseNotGiven) y = mouseState.mouseY;
  mouseState.mouseInside = 1;
  mouseState.mouseX = std::clamp(x, 0, std::max(windowLayerWidth() - 1, 0));
  mouseState.mouseY = std::clamp(y, 0, std::max(windowLayerHeight() - 1, 0));
  if (!system) return;
  // The client area's corner is the screen's corner in full screen.
  WindowRect client = system->clientRectOnScreen();
  system->movePointer(client.left + mouseState.mouseX, client.top + mouseState.mouseY);
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
