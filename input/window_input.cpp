// The keyboard and mouse side of the window procedure.
#include "input/window_input.h"

#include <cstring>

#include <krgfx/input.h>
#include "gfx/display/event_ring.h"
#include "gfx/display/input_access.h"
#include "gfx/screen.h"
#include "input/key_buffer.h"
#include "input/key_codes.h"

namespace krgfx {

MouseState mouseState;
bool leaveTrackingByTimer;

namespace {

// ScreenEvent types of keys and the pointer.
constexpr int32_t eventKeyPress = 1;
constexpr int32_t eventKeyRelease = 2;
constexpr int32_t eventKeyRepeat = 3;
constexpr int32_t eventMouseMove = 4;
constexpr int32_t eventButtonDown = 5;
constexpr int32_t eventButtonUp = 6;
constexpr int32_t eventDoubleClick = 7;
constexpr int32_t eventWheel = 8;
constexpr int32_t eventMouseEntered = 9;
constexpr int32_t eventHorizontalWheel = 14;

constexpr int32_t noScreenPosition = 0xFFFF;
constexpr int32_t mainButtons = 0x7;    // left, right, middle
constexpr int32_t extraButtons = 0x18;  // the two extra buttons

void postEvent(int32_t type, int32_t word1 = 0, int32_t word2 = 0, int32_t word3 = 0,
               int32_t word4 = 0) {
  queueEvent({type, word1, word2, word3, word4});
}

bool windowIsActive() { return windowLayerActive(); }

// --- Keys ------------------------------------------------------------------

bool handleKey(const WindowMessage& message) {
  int32_t modifiers = message.modifiers | (message.enhanced ? modifierEnhanced : 0);
  int32_t code = makeKeyCode(message.character, message.scanCode, message.unshiftedCharacter,
                             modifiers);
  bool keyDown = message.kind == MessageKind::keyDown;
  if (keyDown && code > 255)
    for (int32_t i = 0; i < message.repeatCount; ++i) queueKey(code);

  int32_t key = message.virtualKey;
  if (key == virtualKeyF10 || key == virtualKeyAlt || code == windowCloseKey) return true;
  int32_t type = keyDown ? (message.wasDown ? eventKeyRepeat : eventKeyPress) : eventKeyRelease;
  postEvent(type, scanCodeOf(key), code >= 0 && code < 256 ? code : 0);
  return false;
}

// A typed character, already a code page 437 byte. A character 0 is no key:
// it would only push a real key out of a full buffer and end a key wait.
void handleCharacter(const WindowMessage& message) {
  if (message.character == 0) return;
  for (int32_t i = 0; i < message.repeatCount; ++i) queueKey(message.character);
}

// --- Pointer ---------------------------------------------------------------

void confineAgain(WindowSystem& system) {
  if (mouseState.mouseClip) system.confinePointer(true);
}

// Asks to hear about the pointer leaving the client area (with the timer
// where the window system cannot tell), and reports it entered.
void armLeaveTracking(WindowSystem& system, bool active) {
  if (!active || mouseState.mouseTracking || !mouseState.mouseInside) return;
  if (leaveTrackingByTimer) system.startTimer(leaveTimerId, leaveTimerIntervalMs);
  mouseState.mouseTracking = 1;
  postEvent(eventMouseEntered);
  confineAgain(system);
}

void endLeaveTracking(WindowSystem& system) {
  if (!mouseState.mouseTracking) return;
  if (leaveTrackingByTimer) system.stopTimer(leaveTimerId);
  mouseState.mouseTracking = 0;
  postEvent(eventMouseLeft);
}

void handleMove(WindowSystem& system, const WindowMessage& message) {
  mouseState.mouseX = clientToPictureX(message.x) & 0xFFFF;
  mouseState.mouseY = clientToPictureY(message.y) & 0xFFFF;
  WindowRect client = system.clientRectOnScreen();
  int32_t screenX = client.left + message.x;
  int32_t screenY = client.top + message.y;
  if (mouseState.lastScreenX != noScreenPosition) {
    int32_t deltaX = screenX - mouseState.lastScreenX;
    int32_t deltaY = screenY - mouseState.lastScreenY;
    if (windowIsActive() && (deltaX || deltaY))
      postEvent(eventMouseMove, mouseState.mouseX, mouseState.mouseY, deltaX, deltaY);
  }
  mouseState.lastScreenX = screenX;
  mouseState.lastScreenY = screenY;
  armLeaveTracking(system, windowIsActive());
}

// Every button bit of `buttons` as a click of that kind at the message's
// place, in framebuffer pixels as readMouse reports them.
void recordClicks(int32_t kind, int32_t buttons, const WindowMessage& message) {
  int32_t x = clientToPictureX(message.x), y = clientToPictureY(message.y);
  for (int32_t bit = 1; bit <= extraButtons; bit <<= 1)
    if (buttons & bit) recordMouseClick(mouseState.clicks, {kind, bit, x, y});
}

void handleButtonDown(WindowSystem& system, const WindowMessage& message) {
  bool twice = message.kind == MessageKind::buttonDoubleClick;
  int32_t type = twice ? eventDoubleClick : eventButtonDown;
  int32_t main = message.button & mainButtons;
  int32_t extra = message.button & extraButtons & ~mouseState.mouseButtons;
  if (main) {
    system.capturePointer(true);
    mouseState.mouseButtons |= main;
    postEvent(type, main);
  }
  if (extra) {
    mouseState.mouseButtons |= extra;
    postEvent(type, extra);
  }
  recordClicks(twice ? mouseClickDouble : mouseClickPress, main | extra, message);
}

void handleButtonUp(WindowSystem& system, const WindowMessage& message) {
  int32_t main = message.button & mainButtons;
  int32_t extra = message.button & extraButtons & mouseState.mouseButtons;
  mouseState.mouseButtons &= ~(main | extra);
  if (mouseState.mouseButtons == 0 && system.pointerCaptured()) system.capturePointer(false);
  if (main) postEvent(eventButtonUp, main);
  if (extra) postEvent(eventButtonUp, extra);
  recordClicks(mouseClickRelease, main | extra, message);
}

// One notch per message, whatever the size of the turn; the counter wraps.
void turnWheel(int32_t& counter, int32_t delta, int32_t eventType) {
  uint32_t step = delta > 0 ? 1u : static_cast<uint32_t>(-1);
  counter = static_cast<int32_t>(static_cast<uint32_t>(counter) + step);
  postEvent(eventType, counter);
}

void handleLeave(WindowSystem& system) {
  if (windowIsActive()) endLeaveTracking(system);
}

// The timer that stands in for leave reports: the pointer has left when it
// is outside the client area or another window covers it there.
void handleLeaveTimer(WindowSystem& system) {
  WindowRect picture = pictureOnScreen(system);
  int32_t x = 0, y = 0;
  system.pointerPosition(&x, &y);
  if (picture.contains(x, y) && system.pointerOverThisWindow()) return;
  system.stopTimer(leaveTimerId);
  handleLeave(system);
}

}  // namespace

void resetMouseForWindowLayer() {
  mouseState.mouseWheel = 0;
  mouseState.mouseButtons = 0;
  mouseState.mouseClip = 0;
  mouseState.mouseTracking = 0;
  mouseState.lastScreenX = noScreenPosition;
  mouseState.cursorVisible = 1;
  clearMouseClicks(mouseState.clicks);
}

bool handleKeyboardMessage(const WindowMessage& message) {
  switch (message.kind) {
    case MessageKind::keyDown:
    case MessageKind::keyUp:
      return handleKey(message);
    case MessageKind::systemKeyDown:
      // Alt+Enter belongs to the window layer (full-screen switch).
      if (!windowIsActive() || message.virtualKey == virtualKeyReturn) return false;
      return handleKey(message);
    case MessageKind::character:
      handleCharacter(message);
      return false;
    default:
      return false;
  }
}

void handleMouseMessage(WindowSystem& system, const WindowMessage& message) {
  switch (message.kind) {
    case MessageKind::mouseMove:
      handleMove(system, message);
      break;
    case MessageKind::buttonDown:
    case MessageKind::buttonDoubleClick:
      handleButtonDown(system, message);
      break;
    case MessageKind::buttonUp:
      handleButtonUp(system, message);
      break;
    case MessageKind::wheel:
      turnWheel(mouseState.mouseWheel, message.wheelDelta, eventWheel);
      break;
    case MessageKind::horizontalWheel:
      turnWheel(mouseState.mouseHWheel, message.wheelDelta, eventHorizontalWheel);
      break;
    case MessageKind::mouseLeave:
      handleLeave(system);
      break;
    case MessageKind::timer:
      if (message.timerId == leaveTimerId && mouseState.mouseTracking) handleLeaveTimer(system);
      break;
    case MessageKind::setCursor:
      applyPointerShape(system);
      break;
    case MessageKind::moving:
      if (mouseState.mouseClip) system.confinePointer(false);
      break;
    default:
      break;
  }
}

void notePointerPosition(WindowSystem& system, const WindowMessage& message) {
  int32_t x = message.screenX, y = message.screenY;
  if (!message.pointerKnown) system.pointerPosition(&x, &y);
  mouseState.mouseInside = pictureOnScreen(system).contains(x, y) ? 1 : 0;
}

void handleInputActivation(WindowSystem& system, bool active) {
  if (gfxScreen) std::memset(gfxScreen->keyState, 0, sizeof gfxScreen->keyState);
  mouseState.mouseButtons = 0;
  if (active) {
    armLeaveTracking(system, true);
    confineAgain(system);
  } else {
    endLeaveTracking(system);
    system.confinePointer(false);  // mouseClip stays: activation confines again
  }
}

void refreshKeyStateFromVirtualKeys(WindowSystem& system) {
  if (!gfxScreen) return;
  uint8_t state[256];
  system.virtualKeyState(state);
  for (const ScanCodeEntry& entry : ScanCodeTable) {
    bool down = (state[entry.virtualKey] & 0x80) ||
                (entry.alternativeVirtualKey && (state[entry.alternativeVirtualKey] & 0x80));
    gfxScreen->keyState[entry.scan] = down ? 1 : 0;
  }
}

void refreshKeyStateFromScanCodes(WindowSystem& system) {
  if (!gfxScreen) return;
  uint8_t state[256];
  if (!system.scanCodeState(state)) return;  // unknown this round: keep what was known
  for (int32_t scan = 0; scan < 128; ++scan)
    gfxScreen->keyState[scan] = ((state[scan] | state[scan + 128]) & 0x80) ? 1 : 0;
}

}  // namespace krgfx
