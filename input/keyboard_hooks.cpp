// Reading keys while a graphics screen is open.
#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include "gfx/display/input_access.h"
#include "gfx/screen.h"
#include "input/input_hooks.h"
#include "input/key_buffer.h"

namespace krgfx {

namespace {

constexpr int32_t waitKeySliceMs = 20;

// The oldest key, or windowCloseKey while a lost window's close request is
// pending and the buffer is empty.
int32_t takeScreenKey() {
  int32_t code = takeKey();
  return code == 0 && screenClosePending() ? windowCloseKey : code;
}

}  // namespace

bool screenClosePending() {
  lockScreen();
  bool lost = gfxScreen && windowLayerLost();
  unlockScreen(1, 0);
  return lost;
}

std::string keyCodeText(int32_t code) {
  if (code == 0) return {};
  if (code < 256) return std::string(1, static_cast<char>(code & 0xFF));
  return {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
}

std::string screenPollKey() {
  if (!gfxScreen) return {};
  return keyCodeText(takeScreenKey());
}

int32_t screenWaitKey() {
  if (!gfxScreen) return 0;
  for (;;) {
    int32_t code = takeScreenKey();
    if (code != 0) return code;
    sleepMs(waitKeySliceMs);
    if (!gfxScreen) return 0;
  }
}

int32_t screenKeyPending() {
  lockScreen();
  int32_t pending = keyBuffer.readIndex != keyBuffer.writeIndex || screenClosePending();
  unlockScreen(1, 0);
  return pending;
}

int32_t screenKeyIsDown(int32_t scanCode) {
  if (!gfxScreen || static_cast<uint32_t>(scanCode) > 127) return 0;
  lockScreen();
  int32_t down = gfxScreen->keyState[scanCode] ? -1 : 0;
  unlockScreen(1, 0);
  return down;
}

}  // namespace krgfx
