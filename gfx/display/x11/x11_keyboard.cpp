// Key events and the keyboard state.
#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

void X11WindowSystem::translateKey(XKeyEvent& event, std::vector<WindowMessage>& messages) {
  keymap_.noteKey(event);
  keys_.translate(event, messages);
}

void X11WindowSystem::virtualKeyState(uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  if (!dead_) X11KeyTranslator::virtualKeyState(display_, keymap_.keys(display_), state);
}

bool X11WindowSystem::scanCodeState(uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  if (!dead_) X11KeyTranslator::scanCodeState(keymap_.keys(display_), state);
  return true;
}

}  // namespace krgfx
