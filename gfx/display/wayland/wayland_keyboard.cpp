// The keyboard: the compositor's keymap through xkbcommon, key events to the
// same messages as on X11 (the shared translation), modifiers from the xkb
// state, key repeat made here from repeat_info, and keyboard focus as the
// window's activation.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "gfx/display/wayland/wayland_connection.h"

namespace krgfx {

namespace {

constexpr uint32_t evdevToXKeycode = 8;

WaylandWindowSystem* systemOf(void* data) { return static_cast<WaylandWindowSystem*>(data); }

void onKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
  systemOf(data)->keymap(format, fd, size);
}
void onEnter(void* data, wl_keyboard*, uint32_t, wl_surface*, wl_array* keys) {
  systemOf(data)->keyboardEnter(keys);
}
void onLeave(void* data, wl_keyboard*, uint32_t, wl_surface*) { systemOf(data)->keyboardLeave(); }
void onKey(void* data, wl_keyboard*, uint32_t, uint32_t time, uint32_t key, uint32_t state) {
  systemOf(data)->key(time, key, state);
}
void onModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                 uint32_t locked, uint32_t group) {
  systemOf(data)->keyModifiers(depressed, latched, locked, group);
}
void onRepeatInfo(void* data, wl_keyboard*, int32_t rate, int32_t delay) {
  systemOf(data)->repeatInfo(rate, delay);
}
const wl_keyboard_listener keyboardListener{onKeymap, onEnter,     onLeave,
                                            onKey,    onModifiers, onRepeatInfo};

uint32_t unshiftedKeysym(xkb_keymap* keymap, uint32_t keycode) {
  const xkb_keysym_t* syms = nullptr;
  if (xkb_keymap_key_get_syms_by_level(keymap, keycode, 0, 0, &syms) < 1) return 0;
  return syms[0];
}

}  // namespace

void WaylandWindowSystem::keymap(uint32_t format, int fd, uint32_t size) {
  xkb_keymap* made = nullptr;
  if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text != MAP_FAILED) {
      made = xkb_keymap_new_from_buffer(xkb_, static_cast<const char*>(text),
                                        strnlen(static_cast<const char*>(text), size),
                                        XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
      munmap(text, size);
    }
  }
  close(fd);
  if (!made) return;  // the previous keymap stays
  if (keyState_) xkb_state_unref(keyState_);
  if (keymap_) xkb_keymap_unref(keymap_);
  keymap_ = made;
  keyState_ = xkb_state_new(keymap_);
}

void WaylandWindowSystem::keyboardEnter(wl_array* keys) {
  keysDown_.clear();
  for (auto* key = static_cast<uint32_t*>(keys->data);
       reinterpret_cast<char*>(key) < static_cast<char*>(keys->data) + keys->size; ++key)
    keysDown_.insert(*key + evdevToXKeycode);
  if (focused_) return;
  focused_ = true;
  WindowMessage activation = windowMessage(MessageKind::activate);
  activation.active = true;
  pending_.push_back(activation);
}

void WaylandWindowSystem::keyboardLeave() {
  keysDown_.clear();
  keys_.forgetHeldKeys();
  repeatKey_ = 0;
  clicks_.reset();
  if (!focused_) return;
  focused_ = false;
  WindowMessage activation = windowMessage(MessageKind::activate);
  activation.active = false;
  pending_.push_back(activation);
}

void WaylandWindowSystem::keyModifiers(uint32_t depressed, uint32_t latched, uint32_t locked,
                                       uint32_t group) {
  if (keyState_) xkb_state_update_mask(keyState_, depressed, latched, locked, 0, 0, group);
}

void WaylandWindowSystem::key(uint32_t, uint32_t key, uint32_t state) {
  uint32_t keycode = key + evdevToXKeycode;
  bool press = state == WL_KEYBOARD_KEY_STATE_PRESSED;
  if (press)
    keysDown_.insert(keycode);
  else
    keysDown_.erase(keycode);
  deliverKey(keycode, press);
  if (press && keymap_ && xkb_keymap_key_repeats(keymap_, keycode) && repeatRate_ > 0) {
    repeatKey_ = keycode;
    repeatDue_ = Clock::now() + std::chrono::milliseconds(repeatDelay_);
  } else if (!press && keycode == repeatKey_) {
    repeatKey_ = 0;
  }
}

// The messages of one press or release with the modifiers in force now.
void WaylandWindowSystem::deliverKey(uint32_t keycode, bool press) {
  if (!keyState_) return;
  char text[64] = {};
  xkb_state_key_get_utf8(keyState_, keycode, text, sizeof text);
  uint32_t mask = 0;
  if (xkb_state_mod_name_is_active(keyState_, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0)
    mask |= modifierMaskShift;
  if (xkb_state_mod_name_is_active(keyState_, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0)
    mask |= modifierMaskControl;
  if (xkb_state_mod_name_is_active(keyState_, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0)
    mask |= modifierMaskAlt;
  KeyEventFacts facts{press,
                      keycode,
                      unshiftedKeysym(keymap_, keycode),
                      xkb_state_key_get_one_sym(keyState_, keycode),
                      text,
                      mask};
  keys_.append(facts, pending_);
}

// A held key repeats at the compositor's rate after its delay, as presses
// of a key already down.
void WaylandWindowSystem::repeatHeldKey(std::vector<WindowMessage>& messages) {
  if (!repeatKey_ || !focused_ || repeatRate_ <= 0) return;
  auto now = Clock::now();
  auto interval = std::chrono::microseconds(1000000 / repeatRate_);
  // A late dispatch sends one repeat, not a burst.
  if (now < repeatDue_) return;
  repeatDue_ = now + interval;
  pending_.swap(messages);
  deliverKey(repeatKey_, true);
  pending_.swap(messages);
}

void WaylandWindowSystem::virtualKeyState(uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  if (!keymap_) return;
  for (uint32_t keycode : keysDown_) {
    uint32_t keysym = unshiftedKeysym(keymap_, keycode);
    markKeyDown(state, keysym, keysym, scanCodeOfKeycode(keycode).scan);
  }
}

bool WaylandWindowSystem::scanCodeState(uint8_t state[256]) {
  std::fill_n(state, 256, 0);
  for (uint32_t keycode : keysDown_) {
    ScanCode scan = scanCodeOfKeycode(keycode);
    if (scan.scan) state[scan.scan + (scan.enhanced ? 128 : 0)] = 0x80;
  }
  return true;
}

void WaylandWindowSystem::seatCapabilities(uint32_t capabilities) {
  bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
  if (keyboard && !keyboard_) {
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &keyboardListener, this);
  } else if (!keyboard && keyboard_) {
    wl_keyboard_destroy(keyboard_);
    keyboard_ = nullptr;
  }
  bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
  if (pointer && !pointer_) {
    pointer_ = wl_seat_get_pointer(seat_);
    attachPointerListener();
  } else if (!pointer && pointer_) {
    confinePointer(false);
    wl_pointer_destroy(pointer_);
    pointer_ = nullptr;
  }
}

}  // namespace krgfx
