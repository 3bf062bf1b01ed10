// The text console: what the runtime's text and input operations do while no
// graphics screen has installed its hooks. It works on a terminal: ANSI
// sequences for clearing and placing the cursor, code page 437 shown as
// UTF-8, keys read without blocking, no mouse.
#pragma once

#include <cstdint>

#include "runtime/runtime_state.h"
#include "runtime/text_console_lifetime.h"

namespace krgfx {

// Where the console reads keys and writes text: standard input and output
// unless another pair is attached (tests use pseudo-terminals and pipes).
// A terminal whose modes the console changed gets them back first.
void attachTextConsole(int inputFd, int outputFd);

// The pause behind the console's sleep: the runtime's system clock pause
// unless replaced (tests record the slices).
using ConsolePause = void (*)(int32_t ms);
void setTextConsolePause(ConsolePause pause);

}  // namespace krgfx
