// The ring of key codes that the window fills and the program empties.
#pragma once

#include <cstdint>

namespace krgfx {

constexpr int32_t keyBufferSize = 16;

struct KeyBuffer {
  int32_t keys[keyBufferSize];
  int32_t readIndex;   // next slot to take
  int32_t writeIndex;  // next slot to fill
  int32_t keyPosted;   // a key was posted since the flag was last taken
};

// One per process; it outlives modes and is never cleared.
extern KeyBuffer keyBuffer;

// Appends a code, dropping the oldest when the ring is full. Called by the
// window procedure, which holds the driver lock.
void queueKey(int32_t code);
// Removes and returns the oldest code, 0 when empty; clears keyPosted.
int32_t takeKey();
// Returns keyPosted and clears it.
int32_t takeKeyPosted();

}  // namespace krgfx
