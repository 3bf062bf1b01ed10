// Public interface of input and timing: keys, the mouse, pauses and the
// seconds clock.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

// Key codes: 1 to 255 a code page 437 character; (scan << 8) | 0xFF an
// extended key; windowCloseKey the window (or console) was asked to close.
constexpr int32_t windowCloseKey = 0x6BFF;

// One key as a string: one byte for a character, 0xFF and the scan value for
// an extended key, empty when there is none.
std::string pollKey();
int32_t waitKey();
int32_t keyPending();
int32_t keyIsDown(int32_t scanCode);  // -1 while down, else 0

// Pointer position in client pixels, wheel counter, buttons held (0x1 left,
// 0x2 right, 0x4 middle, 0x8 and 0x10 extra) and confinement; all -1 when the
// pointer is outside the window or the window is inactive.
int32_t readMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
// A coordinate of mouseNotGiven keeps its value; cursor 1 shows the pointer,
// 0 hides it over the window, negative keeps it; clip likewise confines it.
constexpr int32_t mouseNotGiven = INT32_MIN;
int32_t placeMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);

// flag 0: a pause that a key ends (ms -1: until a key); flag 1: a plain pause.
int32_t sleepMs(int32_t ms, int32_t flag);
void sleepMs(int32_t ms);
double clockSeconds();

}  // namespace krgfx
