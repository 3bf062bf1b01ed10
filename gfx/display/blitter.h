// Conversion of the visible page's changed rows into a display surface of
// another depth or channel order.
#pragma once

#include <array>
#include <cstdint>

namespace krgfx {

// Converts every dirty row of the open screen's visible page into the display
// surface whose row 0 starts at `destination`, rows `destinationPitch` bytes
// apart. Takes no lock and leaves dirtyLines as they are: the presenter calls
// it under the screen lock and clears them itself. Writes nothing while no
// screen is open or when the screen's pixel size is not the one it converts.
using Blitter = void (*)(uint8_t* destination, int32_t destinationPitch);

// The Blitter for the open screen on a display of `displayDepth` bits (8, 15,
// 16, 24 or 32); `rgbOrder` non-zero when the display keeps red in its lowest
// bits. Fills blitterWorkTable for that order on every call. Null while no
// screen is open and for a display that cannot be served.
Blitter chooseBlitter(int32_t displayDepth, int32_t rgbOrder);

// 24 plain entries, then 24 vector entries; in each half 12 for rgbOrder 1,
// then 12 for rgbOrder 0; in each twelve a group of four for screens of up to
// 8 bits, for 16-bit and for 32-bit screens; in each group the display depths
// 15, 16, 24 and 32.
using BlitterTable = std::array<Blitter, 48>;

// The table whose vector half runs at vectorLevel(): AVX2, else SSE2.
const BlitterTable& blitterTable();

// Copies each dirty row unchanged (`pitch` bytes): 8-bit displays of screens
// of up to 8 bits, and the entries whose display has the screen's own format.
void copyBlitter(uint8_t* destination, int32_t destinationPitch);
// The same rows as copyBlitter, for a surface in host memory that mostly
// shows them already (a program that redraws every frame): each dirty row is
// compared with the surface and only what differs is written.
void copyChangedBlitter(uint8_t* destination, int32_t destinationPitch);

// The largest number of display pixels a framebuffer pixel may span.
constexpr int32_t maxDisplayScale = 8;

// A Blitter for a picture shown `scale` times larger (1 to maxDisplayScale):
// every framebuffer pixel becomes a square of scale x scale display pixels,
// nearest neighbour. Framebuffer row r fills display rows from
// r x scanlineSize x scale on. Each dirty row is converted once and the
// converted display row is copied scale - 1 times.
using ScaledBlitter = void (*)(uint8_t* destination, int32_t destinationPitch, int32_t scale);

// The same shape as BlitterTable: entry i scales what entry i converts.
using ScaledBlitterTable = std::array<ScaledBlitter, 48>;
const ScaledBlitterTable& scaledBlitterTable();

// The ScaledBlitter for the open screen on that display, chosen as
// chooseBlitter chooses (and filling blitterWorkTable as it does); null
// where chooseBlitter answers null.
ScaledBlitter chooseScaledBlitter(int32_t displayDepth, int32_t rgbOrder);

}  // namespace krgfx
