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
