// The keyboard and mouse side of the window procedure.
#include "input/window_input.h"

MouseState mouseState;

void resetMouseForWindowLayer() {
  mouseState.mouseWheel = 0;
  mouseState.mouseButtons = 0;
  mouseState.mouseClip = 0;
  mouseState.lastScreenX = 0xFFFF;
  mouseState.cursorVisible = 1;
}

bool handleKeyboardMessage(WindowSystem&, const WindowMessage&) { return false; }
void handleMouseMessage(WindowSystem&, const WindowMessage&) {}
void notePointerPosition(WindowSystem&) {}
void handleInputActivation(WindowSystem&, bool) {}
void refreshKeyStateFromVirtualKeys(WindowSystem&) {}
void refreshKeyStateFromScanCodes(WindowSystem&) {}
