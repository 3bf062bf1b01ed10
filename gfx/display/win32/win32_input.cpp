// The keyboard state, the pointer and the window's timers.
#include <cstring>

#include "gfx/display/win32/win32_window_system.h"

namespace krgfx {

void Win32WindowSystem::virtualKeyState(uint8_t state[256]) {
  std::memset(state, 0, 256);
  if (onOwnerThread()) GetKeyboardState(state);
}

bool Win32WindowSystem::scanCodeState(uint8_t state[256]) {
  std::memset(state, 0, 256);
  return !directDraw_ || directDraw_->keyboardState(state);
}

void Win32WindowSystem::pointerPosition(int32_t* x, int32_t* y) {
  POINT pointer{};
  GetCursorPos(&pointer);
  *x = pointer.x;
  *y = pointer.y;
}

void Win32WindowSystem::movePointer(int32_t x, int32_t y) { SetCursorPos(x, y); }

bool Win32WindowSystem::pointerOverThisWindow() {
  if (!window_) return false;
  POINT pointer{};
  GetCursorPos(&pointer);
  HWND under = WindowFromPoint(pointer);
  return under == window_ || (under && IsChild(window_, under));
}

void Win32WindowSystem::confinePointer(bool confined) {
  if (confined && window_) {
    WindowRect client = clientRectOnScreen();
    RECT rect{client.left, client.top, client.right, client.bottom};
    if (picture_.right > picture_.left && picture_.bottom > picture_.top)
      rect = {client.left + picture_.left, client.top + picture_.top, client.left + picture_.right,
              client.top + picture_.bottom};
    confined_ = ClipCursor(&rect) != FALSE;
  } else if (!confined && confined_) {
    ClipCursor(nullptr);
    confined_ = false;
  }
}

// The pointer shape belongs to the window's thread: from another thread the
// window is asked to set it again.
void Win32WindowSystem::showPointer(bool visible) {
  if (!window_) return;
  if (onOwnerThread())
    SetCursor(visible ? arrow_ : nullptr);
  else
    PostMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void Win32WindowSystem::capturePointer(bool captured) {
  if (!window_ || !onOwnerThread()) return;
  if (captured)
    SetCapture(window_);
  else if (GetCapture() == window_)
    ReleaseCapture();
}

bool Win32WindowSystem::pointerCaptured() {
  return window_ && onOwnerThread() && GetCapture() == window_;
}

void Win32WindowSystem::startTimer(int32_t id, int32_t intervalMs) {
  if (window_ && intervalMs > 0)
    SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), nullptr);
}

void Win32WindowSystem::stopTimer(int32_t id) {
  if (window_) KillTimer(window_, static_cast<UINT_PTR>(id));
}

}  // namespace krgfx
