// X key events to the window procedure's key and character messages, and the
// keyboard state in both forms, for an X11 window system. It keeps what
// lasts between events (keys held, the code page 437 converter), so a window
// system holds one for its connection and calls it on that connection's
// thread:
//   on connecting:    enableDetectableAutoRepeat(display);
//   KeyPress/Release: keys.translate(event.xkey, messages);
//   focus lost:       keys.forgetHeldKeys();
//   MappingNotify:    XRefreshKeyboardMapping(&event.xmapping) (a new layout);
//   keyboard state:   keys.virtualKeyState(display, state) and
//                     keys.scanCodeState(display, state).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "gfx/display/posix/key_messages.h"
#include "gfx/display/window_system.h"

namespace krgfx {

// Asks the server to send a held key's repeats as presses without releases;
// false when it cannot (translate then drops the release of each repeat).
bool enableDetectableAutoRepeat(Display* display);

// The keys down, in XQueryKeymap's form. While the window has the keyboard
// every key event reaches it, so the events keep the keymap up to date and
// reading it needs no round trip to the server; otherwise every read asks
// the server.
class X11Keymap {
 public:
  const char* keys(Display* display);
  // A KeyPress or KeyRelease that reached the window.
  void noteKey(const XKeyEvent& event);
  // The window got the keyboard (true) or lost it to another window or a
  // grab (false); the server is asked again either way.
  void setKeyboardFocus(bool focused) {
    focused_ = focused;
    known_ = false;
  }

 private:
  char keys_[32] = {};
  bool known_ = false;
  bool focused_ = false;
};

class X11KeyTranslator {
 public:
  // Appends the messages of one KeyPress or KeyRelease: a key-down or key-up
  // (system-key forms for Alt combinations, Alt and F10), and after a
  // key-down that types text (not a system key) one character message per
  // code page 437 byte of it. The text is XLookupString's ASCII (with Ctrl
  // applied), else the character of the looked-up keysym (ISO 8859-1,
  // Unicode, euro sign); Delete types none.
  void translate(XKeyEvent& event, std::vector<WindowMessage>& messages);
  // Forgets the held keys (after the focus went elsewhere, no releases come).
  void forgetHeldKeys() { builder_.forgetHeldKeys(); }

  // 256 bytes, bit 7 for each key down now: by virtual key (with the sided
  // Shift, Ctrl and Alt), and by scan code with enhanced keys at scan + 128.
  static void virtualKeyState(Display* display, uint8_t state[256]);
  static void scanCodeState(Display* display, uint8_t state[256]);
  // The same from a keymap in XQueryKeymap's form (bit k % 8 of byte k / 8
  // set while keycode k is down).
  static void virtualKeyState(Display* display, const char keymap[32], uint8_t state[256]);
  static void scanCodeState(const char keymap[32], uint8_t state[256]);

 private:
  bool isRepeatRelease(XKeyEvent& event);

  KeyMessageBuilder builder_;
};

}  // namespace krgfx
