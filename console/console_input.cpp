// The text console's keys, mouse and pause.
#include <string>
#include <vector>

#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "console/console_signals.h"
#include "console/console_state.h"
#include "console/console_terminal.h"

namespace krgfx {

namespace {

void queueConsoleKey(int32_t code) {
  TextConsoleState& console = textConsole;
  console.keys[console.writeIndex] = code;
  int32_t next = (console.writeIndex + 1) % consoleKeySlots;
  if (next == console.readIndex) console.readIndex = (console.readIndex + 1) % consoleKeySlots;
  console.writeIndex = next;
  console.keyPosted = 1;
}

int32_t takeConsoleKey() {
  TextConsoleState& console = textConsole;
  int32_t code = 0;
  if (console.readIndex != console.writeIndex) {
    code = console.keys[console.readIndex];
    console.readIndex = (console.readIndex + 1) % consoleKeySlots;
  }
  console.keyPosted = 0;
  return code;
}

bool keyArrived() {
  pollConsoleInput();
  bool posted = textConsole.keyPosted != 0;
  textConsole.keyPosted = 0;
  return posted;
}

}  // namespace

std::string consolePollKey() {
  pollConsoleInput();
  int32_t code = takeConsoleKey();
  if (code == 0) return {};
  if (code < 256) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
}

// Without a terminal no key can come, so the wait ends at once.
int32_t consoleWaitKey() {
  for (;;) {
    pollConsoleInput();
    if (int32_t code = takeConsoleKey()) return code;
    if (textConsole.inputGone) return 0;
    textConsole.pause(20);
  }
}

int32_t consoleKeyPending() {
  pollConsoleInput();
  return textConsole.readIndex != textConsole.writeIndex;
}

// A terminal tells nothing about keys held down.
int32_t consoleKeyIsDown(int32_t /*scanCode*/) { return 0; }

int32_t consoleReadMouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  pollConsoleInput();
  for (int32_t* output : {x, y, wheel, buttons, clip}) {
    if (output) *output = -1;
  }
  return setRuntimeError(errBadCall);
}

int32_t consolePlaceMouse(int32_t, int32_t, int32_t, int32_t) {
  return setRuntimeError(errBadCall);
}

// The same timing as the graphics screen's pause: a test before each 50 ms
// slice, the remainder without one; below 100 ms one plain pause. ms -1
// waits for a key, but not where no key can come.
void consoleSleep(int32_t ms) {
  ConsolePause pause = textConsole.pause;
  if (ms == -1) {
    while (!keyArrived() && !textConsole.inputGone) pause(50);
    return;
  }
  if (ms >= 100) {
    do {
      if (keyArrived()) return;
      pause(50);
      ms -= 50;
    } while (ms > 50);
    pause(ms);
    return;
  }
  if (ms >= 1) pause(ms);
}

void pollConsoleInput() {
  installControlHandler();
  for (int32_t requests = takeCloseRequests(); requests > 0; --requests) {
    queueConsoleKey(windowCloseKey);
  }
  TextConsoleState& console = textConsole;
  if (console.inputGone) return;
  if (!isTerminal(console.inputFd)) {
    console.inputGone = true;
    return;
  }
  if (!enterKeyMode(console.inputFd)) return;  // in the background for now
  std::vector<int32_t> codes;
  bool alive = readTerminalKeys(console.inputFd, codes);
  for (int32_t code : codes) queueConsoleKey(code);
  if (!alive) {
    console.inputGone = true;
    restoreTerminal();
  }
}

}  // namespace krgfx
