// Reading the selected input file field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/runtime_state.h"

namespace krgfx {

// The current input sequence. While `file` is null or closed, bytes come from
// `line` at `linePos`.
struct InputState {
  FileHandle* file;
  std::string line;
  size_t linePos;
};

// Longest fields: numbers and texts.
constexpr int32_t numberFieldLength = 67;
constexpr int32_t textFieldLength = 4096;

// Reads the next field into buffer (at most maxLength bytes) and returns its
// length. `looksReal` tells whether a number field holds a '.', an exponent
// letter, or a 'D' taken as one.
int32_t readField(uint8_t* buffer, int32_t maxLength, bool textMode, bool* looksReal);

// The value of a number field's text.
int32_t numberFieldValue(const uint8_t* text, int32_t length, bool looksReal);

}  // namespace krgfx
