// The keyboard and mouse side of the window procedure, the mouse state it
// keeps, and the window layer's readMouse and placeMouse. The window layer
// calls these on the presenter thread while it holds the driver lock (the
// mouse operations come from the program's thread, also under that lock).
#pragma once

#include <cstdint>

#include "gfx/display/window_system.h"
#include "input/mouse_clicks.h"

namespace krgfx {

struct MouseState {
  int32_t mouseX, mouseY;            // client pixels of the last move, or where placeMouse put it
  int32_t mouseWheel;                // vertical wheel counter
  int32_t mouseHWheel;               // horizontal wheel counter
  int32_t mouseButtons;              // buttons held
  int32_t mouseInside;               // the pointer lay in the client area at the last message
  int32_t mouseClip;                 // the program wants the pointer confined
  int32_t cursorVisible;             // arrow shown over the client area
  int32_t mouseTracking;             // leave tracking armed
  int32_t lastScreenX, lastScreenY;  // 0xFFFF in lastScreenX: none yet
  MouseClickRing clicks;             // buttons pressed and released, for pollMouseClick
};

// One per process; the window layer resets part of it when it starts.
extern MouseState mouseState;

// True when the window system cannot report the pointer leaving the client
// area: leave tracking then watches the pointer with a 100 ms timer (id 2).
// X11 reports leaving, so this is false unless a window system lacks it.
extern bool leaveTrackingByTimer;
constexpr int32_t leaveTimerId = 2;
constexpr int32_t leaveTimerIntervalMs = 100;

// Resets what each start of the window layer resets (wheel, buttons, clip,
// last screen position, leave tracking, visible cursor, clicks).
void resetMouseForWindowLayer();

// Key, system-key and character messages: key codes into the key buffer and
// key events into the event ring. Answers true when the message must not
// reach the default handling (F10, Alt, the close key Alt+F4).
bool handleKeyboardMessage(const WindowMessage& message);
// Pointer messages (move, buttons, wheels, leave, timer, set-cursor, moving).
void handleMouseMessage(WindowSystem& system, const WindowMessage& message);
// Runs on every message before anything else: is the pointer inside the
// client area? Asks the window system where the pointer is only when the
// message does not tell.
void notePointerPosition(WindowSystem& system, const WindowMessage& message);
// The keyboard and mouse part of an activation change; `active` is the new
// windowActive (activated and not minimised).
void handleInputActivation(WindowSystem& system, bool active);
// Refreshes the screen's keyState once per presenter pass while active; the
// GDI form reads virtual keys, the DirectX form scan codes, and keeps keyState
// as it was when the keyboard could not be read.
void refreshKeyStateFromVirtualKeys(WindowSystem& system);
void refreshKeyStateFromScanCodes(WindowSystem& system);

// The picture's rectangle on the screen: the client area less the black
// border of a full screen at the desktop's mode. The pointer counts as inside
// only there.
WindowRect pictureOnScreen(WindowSystem& system);
// A client position in framebuffer pixels (each framebuffer pixel spans
// `scale` client pixels from the picture's corner), and back: the centre of
// the pixel's square.
int32_t clientToPictureX(int32_t x);
int32_t clientToPictureY(int32_t y);
int32_t pictureToClientX(int32_t x);
int32_t pictureToClientY(int32_t y);

// The readMouse and placeMouse operations of the window drivers' tables.
// windowReadMouse answers -1 and leaves the outputs alone while the window is
// inactive or the pointer is outside the client area. windowPlaceMouse
// clamps the position to the mode's size and moves the real pointer there;
// cursor and clip > 0 show and confine, 0 hide and free, < 0 leave as is.
int32_t windowReadMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
int32_t windowPlaceMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);
// Arrow while the pointer is outside the client area or the cursor is
// visible, no pointer otherwise: the answer to a set-cursor message.
void applyPointerShape(WindowSystem& system);

}  // namespace krgfx
