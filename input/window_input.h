// The keyboard and mouse side of the window procedure, and the mouse state it
// keeps. The window layer calls these on the presenter thread while it holds
// the driver lock.
#pragma once

#include <cstdint>

#include "gfx/display/window_system.h"

struct MouseState {
  int32_t mouseX, mouseY;      // client pixels of the last move, or where placeMouse put it
  int32_t mouseWheel;          // vertical wheel counter
  int32_t mouseHWheel;         // horizontal wheel counter
  int32_t mouseButtons;        // buttons held
  int32_t mouseInside;         // the pointer lay in the client area at the last message
  int32_t mouseClip;           // the program wants the pointer confined
  int32_t cursorVisible;       // arrow shown over the client area
  int32_t mouseTracking;       // leave tracking armed
  int32_t lastScreenX, lastScreenY;  // 0xFFFF in lastScreenX: none yet
};

// One per process; the window layer resets part of it when it starts.
extern MouseState mouseState;

// Resets what each start of the window layer resets (wheel, buttons, clip,
// last screen position, visible cursor).
void resetMouseForWindowLayer();

// Key, system-key and character messages. Answers true when the message must
// not reach the default handling (F10, Alt, the close key).
bool handleKeyboardMessage(WindowSystem& system, const WindowMessage& message);
// Pointer messages (move, buttons, wheels, leave, timer, set-cursor, moving).
// Runs the first step of the mouse handling (is the pointer inside?) too.
void handleMouseMessage(WindowSystem& system, const WindowMessage& message);
// Runs on every message before anything else: where the pointer is.
void notePointerPosition(WindowSystem& system);
// The keyboard and mouse part of an activation change.
void handleInputActivation(WindowSystem& system, bool active);
// Refreshes the screen's keyState once per presenter pass while active; the
// GDI form reads virtual keys, the DirectX form scan codes.
void refreshKeyStateFromVirtualKeys(WindowSystem& system);
void refreshKeyStateFromScanCodes(WindowSystem& system);

// The window layer's driver operations readMouse and placeMouse (called
// under the driver lock). readWindowMouse answers -1 and leaves the outputs
// alone while the window is inactive or the pointer is outside the client
// area. placeWindowMouse clamps the position to the client area of
// width x height and moves the real pointer there; cursor and clip > 0 show
// and confine, 0 hide and free, < 0 leave as they are.
int32_t readWindowMouse(bool windowActive, int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                        int32_t* clip);
void placeWindowMouse(WindowSystem& system, int32_t width, int32_t height, int32_t x, int32_t y,
                      int32_t cursor, int32_t clip);
// Arrow while the pointer is outside the client area or the cursor is
// visible, no pointer otherwise: the answer to a set-cursor message.
void applyPointerShape(WindowSystem& system);
