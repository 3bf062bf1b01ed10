// Translation of what a terminal sends for a key press into the runtime's
// key codes: code page 437 characters and extended keys ((scan << 8) | 0xFF).
#pragma once

#include <cstddef>
#include <cstdint>

namespace krgfx {

// Decodes the key at the start of bytes (length at least 1): returns its code,
// or 0 when those bytes stand for no key, and stores how many bytes it took
// (at least 1). A sequence cut off by the end of the bytes is dropped whole.
int32_t decodeTerminalKey(const uint8_t* bytes, size_t length, size_t* used);

}  // namespace krgfx
