// Where the runtime's picture lies in its window on a real X server, for the
// tests that read windows back and move the pointer over them.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <cstdlib>

#include "gfx/display/display_scale.h"

namespace krgfx {

// The scale of a window showing a width x height screen on that X screen:
// KRGFX_SCALE when valid, else the server's Xft.dpi, shrunk to fit.
inline int32_t expectedWindowScale(Display* display, int screen, int32_t width, int32_t height) {
  int32_t requested = parseDisplayScale(std::getenv("KRGFX_SCALE"));
  WindowRect area{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  return windowScale(requested < 0 ? 0 : requested,
                     dpiFromResources(XResourceManagerString(display)), width, height, area);
}

// The picture of a width x height screen in a client area of that size: as
// large as it fits and centred (a window is exactly the picture).
inline PicturePlacement pictureInClient(int32_t clientWidth, int32_t clientHeight, int32_t width,
                                        int32_t height) {
  return desktopPicture(width, height, {0, 0, clientWidth, clientHeight});
}

}  // namespace krgfx
