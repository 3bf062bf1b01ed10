// The runtime's line editor. It works only through the console hooks, so it
// edits on the graphics screen and on the text console alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace krgfx {

// Where keys come from: a key code, or 0 when no more keys can come.
using KeySource = int32_t (*)();

// Waits with the waitKey hook.
int32_t waitedKey();
// Polls the keyPending hook every 25 ms, then takes the key with pollKey.
int32_t polledKey();

// Edits one line at the cursor: shows `mark` in the cursor's cell, echoes and
// stores characters (up to maxStored), removes the last one with BS, ignores
// extended keys and BEL, and ends on CR with a new line.
std::string editLine(KeySource nextKey, uint8_t mark, size_t maxStored);

}  // namespace krgfx
