// Public interface of the graphics screen: opening and closing a mode and the
// screen lock that brackets drawing.
#pragma once

#include <cstdint>

namespace krgfx {

// Flags of openScreen and applyMode. A negative value is a special request.
constexpr int32_t flagFullScreen = 0x1;
constexpr int32_t flagOpenGl = 0x2;
constexpr int32_t flagNoSwitch = 0x4;
constexpr int32_t flagNoFrame = 0x8;
constexpr int32_t flagColourKeyed = 0x10;
constexpr int32_t flagTopmost = 0x20;
constexpr int32_t flagAlphaBlend = 0x40;
constexpr int32_t flagHighPriority = 0x80;
constexpr int32_t flagNoDisplay = -1;
constexpr int32_t flagInternalClose = INT32_MIN;  // 0x80000000, used by closeScreen

// The value that stands for an omitted coordinate or clearScreen mode.
constexpr int32_t notGiven = static_cast<int32_t>(0xFFFF0000u);

// Opens a graphics screen of width x height pixels: depth 1, 2, 4, 8, 15, 16,
// 24 or 32 bits, pageCount framebuffer pages (0 or less: 1), the 256-colour
// palette and the 8x8 font with a grid of width / 8 by height / 8 cells. The
// screen takes over the text and input operations until it closes, shows in
// a window (flags as above; flagNoDisplay or KRGFX=null: none) and starts
// cleared to the background colour. A screen already open closes first.
// 0, or errBadCall for a bad argument or when no display driver starts (the
// text console then stays in charge).
int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pageCount, int32_t flags,
                   int32_t refreshRate);
// The one operation behind every mode change. Closes the open screen (its
// driver, pages and tables; images survive), and unless modeNumber or width
// is 0 (close only) opens the new one: pages of width x height at depth,
// scanlineSize display rows per framebuffer row, built-in palette and font
// by index (negative: none), a text grid of textCols x textRows, the console
// hooks installed and a display driver chosen and started (KRGFX first).
// 0, or errBadCall for a bad argument or when no driver starts.
int32_t applyMode(int32_t modeNumber, int32_t width, int32_t height, int32_t depth,
                  int32_t scanlineSize, int32_t pageCount, int32_t refreshRate,
                  int32_t paletteIndex, int32_t fontIndex, int32_t flags, float aspect,
                  int32_t textCols, int32_t textRows);
// Closes the open screen and gives the text and input operations back to the
// text console; nothing happens while none is open. The runtime's end calls it.
void closeScreen();
// Shows each framebuffer pixel of the modes opened from now on as a square
// of `scale` x `scale` display pixels (1 to 8), or 0 (the start) for the
// desktop's own scale. A window too large for the desktop gets a smaller
// scale; the KRGFX_SCALE setting, when valid, wins. 0, or errBadCall for a
// scale outside 0 to 8 (nothing changes).
int32_t setDisplayScale(int32_t scale);

void lockScreen();
void unlockScreen(int32_t startLine, int32_t endLine);

}  // namespace krgfx
