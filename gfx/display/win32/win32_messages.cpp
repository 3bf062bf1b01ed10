// The Win32 window procedure: user32's messages become the window layer's
// messages. The window layer's procedure runs while dispatchMessages pumps;
// messages sent at other times (while the window is made or destroyed) or
// while it is busy with another wait for its next turn, in order.
#include <windowsx.h>

#include "gfx/display/win32/win32_window_system.h"
#include "input/key_codes.h"

namespace krgfx {

// WM_DPICHANGED (Windows 8.1 and later; older headers lack it).
constexpr UINT dpiChangedMessage = 0x02E0;

namespace {

constexpr int32_t maxMessagesPerDispatch = 512;
constexpr UINT horizontalWheelMessage = 0x020E;  // WM_MOUSEHWHEEL

// Where the pointer was when the message was posted.
void notePointer(WindowMessage& message) {
  DWORD position = GetMessagePos();
  message.pointerKnown = true;
  message.screenX = GET_X_LPARAM(position);
  message.screenY = GET_Y_LPARAM(position);
}

WindowMessage pointerMessage(MessageKind kind, LPARAM lParam, int32_t button = 0) {
  WindowMessage result = windowMessage(kind);
  notePointer(result);
  result.x = GET_X_LPARAM(lParam);
  result.y = GET_Y_LPARAM(lParam);
  result.button = button;
  return result;
}

bool altHeld() { return (GetKeyState(VK_MENU) & 0x8000) != 0; }

}  // namespace

uint8_t ansiToCp437(uint8_t ansi) {
  if (ansi == 0) return 0;
  char narrow = static_cast<char>(ansi);
  wchar_t wide[4];
  int wideCount = MultiByteToWideChar(CP_ACP, 0, &narrow, 1, wide, 4);
  if (wideCount <= 0) return 0;
  char converted[8];
  int count = WideCharToMultiByte(437, 0, wide, wideCount, converted, sizeof converted, nullptr,
                                  nullptr);
  return count > 0 ? static_cast<uint8_t>(converted[0]) : 0;
}

void Win32WindowSystem::deliver(const WindowMessage& message) {
  if (!procedure_ || delivering_) {
    pending_.push_back({window_, message});
    return;
  }
  delivering_ = true;
  procedure_(message);
  delivering_ = false;
  deliverPending();
}

// Messages of a window destroyed meanwhile (a full-screen switch) are of no
// use to the next one.
void Win32WindowSystem::deliverPending() {
  while (procedure_ && !delivering_ && !pending_.empty()) {
    Pending next = pending_.front();
    pending_.erase(pending_.begin());
    if (next.window == window_) deliver(next.message);
  }
}

void Win32WindowSystem::dispatchMessages(void (*procedure)(const WindowMessage& message)) {
  procedure_ = procedure;
  deliverPending();
  MSG message;
  for (int32_t count = 0;
       count < maxMessagesPerDispatch && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
       ++count) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    deliverPending();
  }
  procedure_ = nullptr;
}

LRESULT Win32WindowSystem::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      if (translateKey(message, wParam, lParam)) return 0;
      break;
    case WM_SYSCHAR:
      if (wParam == '\r') return 0;  // Alt+Enter: the full-screen switch, no beep
      break;
    case WM_CHAR:
      translateCharacter(wParam, lParam);
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != window) break;
      deliver(windowMessage(MessageKind::setCursor));
      return TRUE;
    case WM_ACTIVATE: {
      WindowMessage activation = windowMessage(MessageKind::activate);
      activation.active = LOWORD(wParam) != WA_INACTIVE;
      activation.minimised = HIWORD(wParam) != 0;
      deliver(activation);
      break;
    }
    case WM_CLOSE:
      deliver(windowMessage(MessageKind::close));
      return 0;  // the program decides
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      deliver(windowMessage(MessageKind::paint));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole client area
    case WM_DISPLAYCHANGE:
      deliver(windowMessage(MessageKind::displayChange));
      break;
    case dpiChangedMessage:
      // Moved to a monitor of another DPI: the window is made again there.
      if (user32_.monitorFromWindow) {
        monitor_ = user32_.monitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        refreshMonitor();
      }
      deliver(windowMessage(MessageKind::dpiChanged));
      return 0;
    case WM_GETMINMAXINFO:
      if (outerWidth_ <= 0) break;
      sizingLimits(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_MOVING:
      deliver(windowMessage(MessageKind::moving));
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_MAXIMIZE) break;
      deliver(windowMessage(MessageKind::maximise));
      return 0;
    case WM_DESTROY:
      // Destroyed by anyone but destroyWindow: the window is gone for good.
      if (!destroying_ && window == window_) {
        window_ = nullptr;
        deliver(windowMessage(MessageKind::destroyed));
      }
      break;
    case titleMessage:
      SetWindowTextA(window, title_.c_str());
      return 0;
    default:
      if (translatePointer(message, wParam, lParam)) return 0;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Answers true when the key must not reach the default handling: F10 and
// Alt (the menu), Alt+F4 (it would close the window) and Alt+Enter (the
// window layer's full-screen switch).
bool Win32WindowSystem::translateKey(UINT message, WPARAM wParam, LPARAM lParam) {
  MessageKind kind = message == WM_KEYDOWN      ? MessageKind::keyDown
                     : message == WM_KEYUP      ? MessageKind::keyUp
                     : message == WM_SYSKEYDOWN ? MessageKind::systemKeyDown
                                                : MessageKind::systemKeyUp;
  WindowMessage key = windowMessage(kind);
  auto data = static_cast<uint32_t>(lParam);
  key.virtualKey = static_cast<int32_t>(wParam & 0xFF);
  key.scanCode = static_cast<int32_t>(data >> 16 & 0xFF);
  key.enhanced = (data >> 24 & 1) != 0;
  key.repeatCount = static_cast<int32_t>(data & 0xFFFF);
  key.wasDown = (data >> 30 & 1) != 0;
  notePointer(key);
  BYTE state[256];
  bool haveState = GetKeyboardState(state) != FALSE;
  if (haveState) key.modifiers = modifiersOf(state, false);
  UINT unshifted = MapVirtualKeyA(static_cast<UINT>(key.virtualKey), MAPVK_VK_TO_CHAR);
  bool deadKey = (unshifted & 0x80000000u) != 0;
  if (!deadKey) {
    WORD typed[2] = {0, 0};
    bool released = kind == MessageKind::keyUp || kind == MessageKind::systemKeyUp;
    UINT scan = static_cast<UINT>(key.scanCode) | (released ? 0x8000u : 0u);
    if (haveState && ToAscii(static_cast<UINT>(key.virtualKey), scan, state, typed, 0) == 1)
      key.character = static_cast<uint8_t>(typed[0] & 0xFF);
    key.unshiftedCharacter = static_cast<uint8_t>(unshifted & 0xFF);
  }
  deliver(key);
  int32_t virtualKey = key.virtualKey;
  return virtualKey == VK_F10 || virtualKey == VK_MENU || (virtualKey == VK_F4 && altHeld()) ||
         (message == WM_SYSKEYDOWN && virtualKey == VK_RETURN);
}

void Win32WindowSystem::translateCharacter(WPARAM wParam, LPARAM lParam) {
  if (wParam >= 256) return;
  WindowMessage character = windowMessage(MessageKind::character);
  character.character = ansiToCp437(static_cast<uint8_t>(wParam));
  character.repeatCount = static_cast<int32_t>(static_cast<uint32_t>(lParam) & 0xFFFF);
  deliver(character);
}

// Leaving the client area is reported once per arming.
void Win32WindowSystem::trackLeaving() {
  if (tracking_ || !user32_.trackMouseEvent || !window_) return;
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof request;
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = window_;
  tracking_ = user32_.trackMouseEvent(&request) != FALSE;
}

// Answers true when the message was a pointer or timer message, handled.
bool Win32WindowSystem::translatePointer(UINT message, WPARAM wParam, LPARAM lParam) {
  bool extraButtons = version_ >= 0x500;
  int32_t extraBit = GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? 0x8 : 0x10;
  switch (message) {
    case WM_MOUSEMOVE:
      trackLeaving();
      deliver(pointerMessage(MessageKind::mouseMove, lParam));
      return true;
    case WM_LBUTTONDOWN:
      deliver(pointerMessage(MessageKind::buttonDown, lParam, 0x1));
      return true;
    case WM_RBUTTONDOWN:
      deliver(pointerMessage(MessageKind::buttonDown, lParam, 0x2));
      return true;
    case WM_MBUTTONDOWN:
      deliver(pointerMessage(MessageKind::buttonDown, lParam, 0x4));
      return true;
    case WM_LBUTTONDBLCLK:
      deliver(pointerMessage(MessageKind::buttonDoubleClick, lParam, 0x1));
      return true;
    case WM_RBUTTONDBLCLK:
      deliver(pointerMessage(MessageKind::buttonDoubleClick, lParam, 0x2));
      return true;
    case WM_MBUTTONDBLCLK:
      deliver(pointerMessage(MessageKind::buttonDoubleClick, lParam, 0x4));
      return true;
    case WM_LBUTTONUP:
      deliver(pointerMessage(MessageKind::buttonUp, lParam, 0x1));
      return true;
    case WM_RBUTTONUP:
      deliver(pointerMessage(MessageKind::buttonUp, lParam, 0x2));
      return true;
    case WM_MBUTTONUP:
      deliver(pointerMessage(MessageKind::buttonUp, lParam, 0x4));
      return true;
    case WM_XBUTTONDOWN:
      if (!extraButtons) return false;
      deliver(pointerMessage(MessageKind::buttonDown, lParam, extraBit));
      return true;
    case WM_XBUTTONDBLCLK:
      if (!extraButtons) return false;
      deliver(pointerMessage(MessageKind::buttonDoubleClick, lParam, extraBit));
      return true;
    case WM_XBUTTONUP:
      if (!extraButtons) return false;
      deliver(pointerMessage(MessageKind::buttonUp, lParam, extraBit));
      return true;
    case WM_MOUSEWHEEL:
    case horizontalWheelMessage: {
      bool vertical = message == WM_MOUSEWHEEL;
      if (vertical ? version_ < 0x40A : version_ < 0x500) return false;
      WindowMessage wheel = windowMessage(vertical ? MessageKind::wheel
                                                   : MessageKind::horizontalWheel);
      wheel.wheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
      deliver(wheel);
      return true;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      deliver(windowMessage(MessageKind::mouseLeave));
      return true;
    case WM_TIMER: {
      WindowMessage tick = windowMessage(MessageKind::timer);
      tick.timerId = static_cast<int32_t>(wParam);
      deliver(tick);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace krgfx
