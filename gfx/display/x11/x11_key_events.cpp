#include "gfx/display/x11/x11_key_events.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <string>

namespace krgfx {

namespace {

constexpr KeySym firstUnicodeKeysym = 0x1000100;
constexpr KeySym lastUnicodeKeysym = 0x110FFFF;

void appendUtf8(std::string& text, uint32_t character) {
  if (character < 0x80) {
    text += static_cast<char>(character);
  } else if (character < 0x800) {
    text += static_cast<char>(0xC0 | character >> 6);
    text += static_cast<char>(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    text += static_cast<char>(0xE0 | character >> 12);
    text += static_cast<char>(0x80 | (character >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | character >> 18);
    text += static_cast<char>(0x80 | (character >> 12 & 0x3F));
    text += static_cast<char>(0x80 | (character >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (character & 0x3F));
  }
}

// The character of a keysym: ISO 8859-1 keysyms are their own code point,
// Unicode keysyms carry theirs; 0 for none.
uint32_t characterOfKeysym(KeySym keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
    return static_cast<uint32_t>(keysym);
  if (keysym >= firstUnicodeKeysym && keysym <= lastUnicodeKeysym)
    return static_cast<uint32_t>(keysym - 0x1000000);
  if (keysym == XK_EuroSign) return 0x20AC;
  return 0;
}

// The UTF-8 text of a key press. XLookupString gives the key's keysym and,
// for ASCII, the byte with Ctrl applied (control characters, keypad, Return);
// its bytes beyond ASCII follow an encoding taken from the environment, so
// those characters come from the keysym instead.
std::string typedUtf8(XKeyEvent& event, KeySym* lookedUp) {
  char bytes[32];
  int length = XLookupString(&event, bytes, sizeof bytes, lookedUp, nullptr);
  std::string text;
  if (length == 1 && static_cast<uint8_t>(bytes[0]) < 0x80) {
    text += bytes[0];
  } else if (length > 0) {
    if (uint32_t character = characterOfKeysym(*lookedUp)) appendUtf8(text, character);
  } else if (uint32_t character = characterOfKeysym(*lookedUp); character > 0x7F) {
    appendUtf8(text, character);  // a character XLookupString could not encode
  }
  return text;
}

KeySym unshiftedKeysym(Display* display, unsigned keycode) {
  return XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
}

template <typename Visit>
void forEachKeyDown(const char keys[32], Visit visit) {
  for (unsigned keycode = 8; keycode < 256; ++keycode)
    if (keys[keycode / 8] & (1 << (keycode % 8))) visit(keycode);
}

}  // namespace

bool enableDetectableAutoRepeat(Display* display) {
  Bool supported = False;
  return XkbSetDetectableAutoRepeat(display, True, &supported) && supported;
}

// Without detectable auto-repeat a repeat is a release and a press of the
// same key at the same time, the press already queued.
bool X11KeyTranslator::isRepeatRelease(XKeyEvent& event) {
  if (event.type != KeyRelease || !XEventsQueued(event.display, QueuedAfterReading)) return false;
  XEvent next;
  XPeekEvent(event.display, &next);
  return next.type == KeyPress && next.xkey.keycode == event.keycode &&
         next.xkey.time == event.time && next.xkey.window == event.window;
}

void X11KeyTranslator::translate(XKeyEvent& event, std::vector<WindowMessage>& messages) {
  if (isRepeatRelease(event)) return;
  KeySym lookedUp = NoSymbol;
  std::string text = typedUtf8(event, &lookedUp);
  KeyEventFacts facts{event.type == KeyPress,
                      event.keycode,
                      static_cast<uint32_t>(unshiftedKeysym(event.display, event.keycode)),
                      static_cast<uint32_t>(lookedUp),
                      text,
                      event.state & (ShiftMask | ControlMask | Mod1Mask)};
  builder_.append(facts, messages);
}

void X11KeyTranslator::virtualKeyState(Display* display, uint8_t state[256]) {
  char keys[32];
  XQueryKeymap(display, keys);
  virtualKeyState(display, keys, state);
}

void X11KeyTranslator::scanCodeState(Display* display, uint8_t state[256]) {
  char keys[32];
  XQueryKeymap(display, keys);
  scanCodeState(keys, state);
}

void X11KeyTranslator::virtualKeyState(Display* display, const char keymap[32],
                                       uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  forEachKeyDown(keymap, [&](unsigned keycode) {
    auto keysym = static_cast<uint32_t>(unshiftedKeysym(display, keycode));
    markKeyDown(state, keysym, keysym, scanCodeOfKeycode(keycode).scan);
  });
}

void X11KeyTranslator::scanCodeState(const char keymap[32], uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  forEachKeyDown(keymap, [&](unsigned keycode) {
    ScanCode scan = scanCodeOfKeycode(keycode);
    if (scan.scan) state[scan.scan + (scan.enhanced ? 128 : 0)] = 0x80;
  });
}

const char* X11Keymap::keys(Display* display) {
  if (!focused_ || !known_) {
    XQueryKeymap(display, keys_);
    known_ = focused_;
  }
  return keys_;
}

void X11Keymap::noteKey(const XKeyEvent& event) {
  if (!known_ || event.keycode >= 256) return;
  char bit = static_cast<char>(1 << (event.keycode % 8));
  if (event.type == KeyPress)
    keys_[event.keycode / 8] |= bit;
  else
    keys_[event.keycode / 8] &= static_cast<char>(~bit);
}

}  // namespace krgfx
