// The graphics screen's key, mouse and sleep routines for the console hooks.
// installInputHooks puts them into the hooks' slots when a screen opens.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

// Keys from the key buffer; empty, 0 or 0 while no screen is open.
std::string screenPollKey();
int32_t screenWaitKey();
int32_t screenKeyPending();
int32_t screenKeyIsDown(int32_t scanCode);

// The pointer through the display driver, under the screen lock.
int32_t screenReadMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
int32_t screenPlaceMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);

// A pause that a posted key ends (ms -1: until a key).
void screenSleep(int32_t ms);

// True once the open screen's window is lost for good (the window system
// went away, or can no longer show it). Its close request then stays
// pending: every wait for a key ends at once, pollKey and waitKey give
// windowCloseKey whenever the buffer is empty and keyPending answers 1, so
// a program that ends on a key ends. A new screen starts afresh.
bool screenClosePending();

// A key code as pollKey gives it: one byte for a character, 0xFF and the
// scan value for an extended key, empty for 0.
std::string keyCodeText(int32_t code);

}  // namespace krgfx
