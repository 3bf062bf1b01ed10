// What the tests' own X connections do to the windows under test.
#pragma once

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace krgfx {

// Test connections walk the server's window tree while Wine or the runtime
// makes and destroys windows: a window can vanish between listing and query.
// Such errors are expected (the query answers 0 and the caller looks again);
// any other X error still ends the test program loudly.
inline int toleratingVanishedWindows(Display*, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  std::fprintf(stderr, "X error %d (request %d)\n", error->error_code, error->request_code);
  std::abort();
}

// What a window manager sends when the user clicks the close button.
inline void askWindowToClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

}  // namespace krgfx
