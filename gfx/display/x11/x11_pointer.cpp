// The pointer: where it is, moving it, confining it to the window with a
// pointer grab, and an empty cursor to hide it over the client area.
#include <X11/cursorfont.h>

#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

void X11WindowSystem::pointerPosition(int32_t* x, int32_t* y) {
  *x = *y = 0;
  if (dead_) return;
  Window rootReturn, child;
  int rootX = 0, rootY = 0, windowX, windowY;
  unsigned mask;
  if (XQueryPointer(display_, root_, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                    &mask)) {
    *x = rootX;
    *y = rootY;
  }
}

void X11WindowSystem::movePointer(int32_t x, int32_t y) {
  if (dead_) return;
  XWarpPointer(display_, None, root_, 0, 0, 0, 0, x, y);
  XFlush(display_);
}

// The top-level window under the pointer is this window (or its frame).
bool X11WindowSystem::pointerOverThisWindow() {
  if (!hasWindow()) return false;
  Window rootReturn, child = 0;
  int rootX, rootY, windowX, windowY;
  unsigned mask;
  if (!XQueryPointer(display_, root_, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                     &mask))
    return false;
  return child == topLevel_ || child == window_;
}

void X11WindowSystem::confinePointer(bool confined) {
  if (!hasWindow()) return;
  if (confined && !confined_) {
    unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                    LeaveWindowMask;
    confined_ = XGrabPointer(display_, window_, True, mask, GrabModeAsync, GrabModeAsync,
                             pointerArea_ ? pointerArea_ : window_, None,
                             CurrentTime) == GrabSuccess;
  } else if (!confined && confined_) {
    XUngrabPointer(display_, CurrentTime);
    confined_ = false;
  }
  XFlush(display_);
}

Cursor X11WindowSystem::arrowCursor() {
  if (!arrowCursor_) arrowCursor_ = XCreateFontCursor(display_, XC_left_ptr);
  return arrowCursor_;
}

void X11WindowSystem::showPointer(bool visible) {
  if (!hasWindow()) return;
  Window area = pointerArea_ ? pointerArea_ : window_;
  if (visible) {
    XDefineCursor(display_, area, arrowCursor());
  } else {
    if (!emptyCursor_) {
      char bits[1] = {0};
      Pixmap blank = XCreateBitmapFromData(display_, window_, bits, 1, 1);
      XColor black{};
      emptyCursor_ = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
      XFreePixmap(display_, blank);
    }
    XDefineCursor(display_, area, emptyCursor_);
  }
  XFlush(display_);
}

void X11WindowSystem::startTimer(int32_t id, int32_t intervalMs) {
  if (hasWindow()) timers_.start(id, intervalMs);
}

void X11WindowSystem::stopTimer(int32_t id) { timers_.stop(id); }

}  // namespace krgfx
