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

// Named key codes, as waitKey and pollKeyCode give them (pollKey gives the
// same as one or two bytes). Characters are their code page 437 byte.
constexpr int32_t keyBackspace = 8;
constexpr int32_t keyTab = 9;
constexpr int32_t keyEnter = 13;
constexpr int32_t keyEscape = 27;
constexpr int32_t keySpace = 32;
// Extended keys: (scan value << 8) | 0xFF.
constexpr int32_t keyShiftTab = 0x0FFF;
constexpr int32_t keyF1 = 0x3BFF;
constexpr int32_t keyF2 = 0x3CFF;
constexpr int32_t keyF3 = 0x3DFF;
constexpr int32_t keyF4 = 0x3EFF;
constexpr int32_t keyF5 = 0x3FFF;
constexpr int32_t keyF6 = 0x40FF;
constexpr int32_t keyF7 = 0x41FF;
constexpr int32_t keyF8 = 0x42FF;
constexpr int32_t keyF9 = 0x43FF;
constexpr int32_t keyF10 = 0x44FF;
constexpr int32_t keyF11 = 0x85FF;
constexpr int32_t keyF12 = 0x86FF;
constexpr int32_t keyHome = 0x47FF;
constexpr int32_t keyUp = 0x48FF;
constexpr int32_t keyPageUp = 0x49FF;
constexpr int32_t keyLeft = 0x4BFF;
constexpr int32_t keyRight = 0x4DFF;
constexpr int32_t keyEnd = 0x4FFF;
constexpr int32_t keyDown = 0x50FF;
constexpr int32_t keyPageDown = 0x51FF;
constexpr int32_t keyInsert = 0x52FF;
constexpr int32_t keyDelete = 0x53FF;
// Shift with F1 to F10 adds 25 to the scan value, Ctrl 35, Alt 45 (keyF1 +
// (25 << 8) is Shift+F1); Alt with F11 or F12 gives 0x8BFF and 0x8CFF.

// Scan codes for keyIsDown.
constexpr int32_t scanEscape = 1;
constexpr int32_t scanEnter = 28;
constexpr int32_t scanCtrl = 29;
constexpr int32_t scanLeftShift = 42;
constexpr int32_t scanRightShift = 54;
constexpr int32_t scanAlt = 56;
constexpr int32_t scanSpace = 57;
constexpr int32_t scanUp = 72;
constexpr int32_t scanLeft = 75;
constexpr int32_t scanRight = 77;
constexpr int32_t scanDown = 80;

// The next key as the code waitKey gives, without waiting: 0 when none.
int32_t pollKeyCode();

// Kinds of pollMouseClick's answer.
constexpr int32_t mouseClickPress = 1;
constexpr int32_t mouseClickRelease = 2;
constexpr int32_t mouseClickDouble = 3;  // the second press of a double-click
// The oldest button press, release or double-click not yet taken, however
// short: its kind as the result, the button bit (0x1 left, 0x2 right, 0x4
// middle, 0x8 and 0x10 extra) and the client position where it happened in
// the outputs (each may be null). 0 when none is left, outputs untouched;
// also 0 without a screen (errBadCall). The window keeps the last 31.
int32_t pollMouseClick(int32_t* x, int32_t* y, int32_t* button);

// Waits until the next frame is due at framesPerSecond (1 to 1000) frames a
// second: the time the program took since the last call is taken off the
// wait, so frames come at a steady pace. A frame later than a whole period
// starts the pace afresh rather than hurrying to catch up. 0, or errBadCall
// for a rate out of range.
int32_t waitFrame(int32_t framesPerSecond);

}  // namespace krgfx
