// The little of the display layer that the input side reads: the window's
// activity, size and window system, and the open screen's pointer slots.
// All of it is read under the driver lock.
#pragma once

#include <cstdint>

#include "gfx/display/display_scale.h"

namespace krgfx {

class WindowSystem;

// The window layer's windowActive: the window is active and not minimised.
bool windowLayerActive();
// The size of the mode the window shows, in client pixels.
int32_t windowLayerWidth();
int32_t windowLayerHeight();
// Where the picture lies in the client area and its scale (at least 1).
PicturePlacement windowLayerPicture();
// The window system the presenter opened; null while none runs.
WindowSystem* windowLayerSystem();
// The window went away for good while the screen was open (the presenter has
// stopped); false again once the window layer is stopped or started anew.
bool windowLayerLost();

// The readMouse and placeMouse slots of the open screen's display driver;
// null while no screen is open or when its driver has no such slot.
using DriverReadMouse = int32_t (*)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                                    int32_t* clip);
using DriverPlaceMouse = int32_t (*)(int32_t x, int32_t y, int32_t cursor, int32_t clip);
DriverReadMouse screenDriverReadMouse();
DriverPlaceMouse screenDriverPlaceMouse();

}  // namespace krgfx
