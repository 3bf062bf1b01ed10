// The text console's state, shared by its output and input halves.
#pragma once

#include <cstdint>
#include <string>

#include "console/console.h"

namespace krgfx {

constexpr int32_t consoleKeySlots = 16;

// The system pause, the console's default.
void systemPause(int32_t ms);

struct TextConsoleState {
  int inputFd = 0;
  int outputFd = 1;
  int32_t cursorX = 0;  // 0-based; cursorX equal to the column count: wrap pending
  int32_t cursorY = 0;
  int32_t keys[consoleKeySlots] = {};  // ring of key codes, one slot always free
  int32_t readIndex = 0;
  int32_t writeIndex = 0;
  int32_t keyPosted = 0;   // a key was queued since the flag was last taken
  bool inputGone = false;  // input is no terminal, or the terminal hung up
  ConsolePause pause = systemPause;
};

extern TextConsoleState textConsole;

// Reads what the terminal has for us (and any close request) into the keys.
void pollConsoleInput();

// The routines of the console's hooks table.
std::string consolePollKey();
int32_t consoleWaitKey();
int32_t consoleKeyPending();
int32_t consoleKeyIsDown(int32_t scanCode);
int32_t consoleReadMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
int32_t consolePlaceMouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);
void consoleSleep(int32_t ms);

}  // namespace krgfx
