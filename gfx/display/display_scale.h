// How large the picture is shown and where it sits: the display scale of a
// window (the program's or the user's choice, else the desktop's DPI), the
// picture of a full screen that keeps the desktop's own display mode, and
// the settings that choose between them. Portable: the window systems only
// report the DPI, the work area and the screen.
#pragma once

#include <cstdint>

#include "gfx/display/window_system.h"

namespace krgfx {

// Where the picture lies in the client area, and how many display pixels
// each framebuffer pixel spans along each side.
struct PicturePlacement {
  int32_t x, y;
  int32_t scale;
};

// A KRGFX_SCALE value: 1 to 8, 0 for "auto"; -1 for anything else (which
// counts as not set).
int32_t parseDisplayScale(const char* text);
// The Xft.dpi entry of an X resource database text, 0 when it has none or
// it is not a positive number.
int32_t dpiFromResources(const char* resources);
// The desktop's scale: dpi / 96 rounded to the nearest integer, 1 to 8; 1
// when the DPI is unknown (0).
int32_t scaleForDpi(int32_t dpi);
// The scale the user or program asks for: KRGFX_SCALE when it holds a valid
// value, else the program's setDisplayScale; 0 means auto.
int32_t requestedDisplayScale();
// The window's scale: `requested` (0: the DPI's), made smaller until a
// width x height picture fits the work area; at least 1.
int32_t windowScale(int32_t requested, int32_t dpi, int32_t width, int32_t height,
                    const WindowRect& workArea);
// The picture of a full screen that keeps the display's mode: the largest
// integer scale at which it fits the screen, centred. Scale 0 when even one
// to one does not fit.
PicturePlacement desktopPicture(int32_t width, int32_t height, const WindowRect& screen);
// A compositor's preferred fractional scale, in 120ths: the whole scale of
// the picture drawn for it, the largest not above it (1 to 8), so that each
// framebuffer pixel stays a square of whole display pixels.
int32_t wholeScaleWithin(int32_t scale120);
// The logical (surface) length that the compositor shows `pixels` long at
// a fractional scale in 120ths, so that each buffer pixel is one display
// pixel: rounded to the nearest, at least 1; `pixels` for no scale (0).
int32_t logicalLength(int32_t pixels, int32_t scale120);
// KRGFX_FULLSCREEN=desktop: full screen never changes the display mode.
bool desktopFullScreenWanted();

}  // namespace krgfx
