// Key events and the keyboard state.
#include "gfx/display/x11/x11_connection.h"

void X11WindowSystem::translateKey(XKeyEvent& event, std::vector<WindowMessage>& messages) {
  unsigned code = event.keycode & 0xFF;
  uint8_t bit = static_cast<uint8_t>(1u << (code % 8));
  bool press = event.type == KeyPress;
  WindowMessage key{};
  key.kind = press ? MessageKind::keyDown : MessageKind::keyUp;
  key.repeatCount = 1;
  key.wasDown = press && (keysDown_[code / 8] & bit);
  key.scanCode = code >= 8 ? static_cast<int32_t>(code - 8) : 0;
  if (press)
    keysDown_[code / 8] |= bit;
  else
    keysDown_[code / 8] &= static_cast<uint8_t>(~bit);
  messages.push_back(key);
}

void X11WindowSystem::virtualKeyState(uint8_t state[256]) { std::fill_n(state, 256, 0); }

void X11WindowSystem::scanCodeState(uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  if (dead_) return;
  char keys[32];
  XQueryKeymap(display_, keys);
  for (unsigned code = 8; code < 256; ++code)
    if (keys[code / 8] & (1 << (code % 8)) && code - 8 < 256) state[code - 8] = 0x80;
}
