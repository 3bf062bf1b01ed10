#include "input/key_buffer.h"

#include <krgfx/gfx.h>

namespace krgfx {

KeyBuffer keyBuffer;

void queueKey(int32_t code) {
  keyBuffer.keys[keyBuffer.writeIndex] = code;
  int32_t next = (keyBuffer.writeIndex + 1) & (keyBufferSize - 1);
  if (next == keyBuffer.readIndex)
    keyBuffer.readIndex = (keyBuffer.readIndex + 1) & (keyBufferSize - 1);
  keyBuffer.writeIndex = next;
  keyBuffer.keyPosted = 1;
}

int32_t takeKey() {
  lockScreen();
  int32_t code = 0;
  if (keyBuffer.readIndex != keyBuffer.writeIndex) {
    code = keyBuffer.keys[keyBuffer.readIndex];
    keyBuffer.readIndex = (keyBuffer.readIndex + 1) & (keyBufferSize - 1);
  }
  takeKeyPosted();
  unlockScreen(1, 0);
  return code;
}

int32_t takeKeyPosted() {
  lockScreen();
  int32_t posted = keyBuffer.keyPosted;
  keyBuffer.keyPosted = 0;
  unlockScreen(1, 0);
  return posted;
}

}  // namespace krgfx
