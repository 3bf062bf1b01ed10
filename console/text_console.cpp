// The text console's output routines and its table of hooks.
#include <algorithm>
#include <string>

#include <krgfx/gfx.h>
#include "console/console_signals.h"
#include "console/console_state.h"
#include "console/console_terminal.h"
#include "console/cp437.h"
#include "input/system_clock.h"

namespace krgfx {

TextConsoleState textConsole;

namespace {

void writeToOutput(const std::string& text) { writeTerminal(textConsole.outputFd, text); }

void consoleGridSize(int32_t* cols, int32_t* rows) {
  int32_t gridCols = 0;
  int32_t gridRows = 0;
  terminalGrid(textConsole.outputFd, textConsole.inputFd, &gridCols, &gridRows);
  if (cols) *cols = gridCols;
  if (rows) *rows = gridRows;
}

// The characters a terminal acts on stay controls; every other byte is shown
// as its glyph, as the graphics screen draws it.
bool actsAsControl(char32_t character) {
  return character == 7 || character == 8 || character == 9 || character == 10 || character == 13;
}

// Follows the terminal's cursor: a full row leaves the wrap pending until the
// next character, the bottom row scrolls.
void advanceCursor(char32_t character, int32_t cols, int32_t rows) {
  int32_t& x = textConsole.cursorX;
  int32_t& y = textConsole.cursorY;
  switch (character) {
    case 7:
      return;
    case 8:
      if (x > 0) x = (x >= cols ? cols : x) - 1;
      return;
    case 9:
      x = x >= cols ? x : std::min((x + 8) & ~7, cols - 1);
      return;
    case 10:
      x = 0;
      y = std::min(y + 1, rows - 1);
      return;  // the terminal adds the CR
    case 13:
      x = 0;
      return;
    default:
      if (x >= cols) {
        x = 0;
        y = std::min(y + 1, rows - 1);
      }
      ++x;
  }
}

void appendShown(std::string& text, char32_t character) {
  if (actsAsControl(character)) {
    text.push_back(static_cast<char>(character));
  } else {
    appendForTerminal(text, character < 32 || character == 127
                                ? cp437ToUnicode(static_cast<uint8_t>(character))
                                : character);
  }
}

void consoleOutputBytes(const uint8_t* bytes, int32_t length, int32_t /*mask*/) {
  if (!bytes || length <= 0) return;
  int32_t cols, rows;
  consoleGridSize(&cols, &rows);
  std::string text;
  text.reserve(static_cast<size_t>(length));
  for (int32_t index = 0; index < length; ++index) {
    char32_t character = bytes[index] < 128 ? bytes[index] : cp437ToUnicode(bytes[index]);
    appendShown(text, character);
    advanceCursor(bytes[index], cols, rows);
  }
  writeToOutput(text);
}

// UTF-16 text goes to the terminal as it is, whatever code page 437 holds.
void consoleOutputWide(const char16_t* chars, int32_t length, int32_t /*mask*/) {
  if (!chars || length <= 0) return;
  int32_t cols, rows;
  consoleGridSize(&cols, &rows);
  std::string text;
  for (int32_t index = 0; index < length; ++index) {
    char32_t character = chars[index];
    bool high = character >= 0xD800 && character < 0xDC00;
    bool low = character >= 0xDC00 && character < 0xE000;
    if (high && index + 1 < length && chars[index + 1] >= 0xDC00 && chars[index + 1] < 0xE000) {
      character = 0x10000 + ((character - 0xD800) << 10) + (chars[++index] - 0xDC00);
    } else if (high || low) {
      character = '?';
    }
    appendShown(text, character);
    advanceCursor(character, cols, rows);
  }
  writeToOutput(text);
}

int32_t positionCode() {
  return ((textConsole.cursorX & 0xFF) | (textConsole.cursorY << 8)) + 0x101;
}

int32_t consolePlaceCursor(int32_t row, int32_t col, int32_t /*cursor*/) {
  int32_t cols, rows;
  consoleGridSize(&cols, &rows);
  if (textConsole.cursorX >= cols) textConsole.cursorX = cols - 1;
  if (col - 1 >= 0) textConsole.cursorX = col - 1;
  if (row - 1 >= 0) textConsole.cursorY = row - 1;
  runtimeState.fileTable[0].printColumn = textConsole.cursorX;
  placeTerminalCursor(textConsole.outputFd, textConsole.cursorY, textConsole.cursorX);
  return positionCode();
}

// Mode 1 (and any unknown mode) names the graphics view, which a terminal
// does not have: nothing to clear.
void consoleClearScreen(int32_t mode) {
  if (mode != 0 && mode != 2 && mode != notGiven) return;
  textConsole.cursorX = 0;
  textConsole.cursorY = 0;
  clearTerminal(textConsole.outputFd);
}

int32_t consoleCursorColumn() {
  int32_t cols, rows;
  consoleGridSize(&cols, &rows);
  return textConsole.cursorX >= cols ? cols : textConsole.cursorX + 1;
}

int32_t consoleCursorRow() { return textConsole.cursorY + 1; }

void consoleCursorPosition(int32_t* col, int32_t* row) {
  if (col) *col = consoleCursorColumn();
  if (row) *row = consoleCursorRow();
}

int32_t consoleOutputRedirected() { return !isTerminal(textConsole.outputFd); }

}  // namespace

// The runtime's one platform pause, the same that the graphics screen uses.
void systemPause(int32_t ms) { systemClock.pause(ms); }

constinit ConsoleHooks textConsoleHooks{
    .pollKey = consolePollKey,
    .waitKey = consoleWaitKey,
    .keyPending = consoleKeyPending,
    .clearScreen = consoleClearScreen,
    .setColours = nullptr,
    .placeCursor = consolePlaceCursor,
    .setGrid = nullptr,
    .cursorColumn = consoleCursorColumn,
    .cursorRow = consoleCursorRow,
    .cursorPosition = consoleCursorPosition,
    .gridSize = consoleGridSize,
    .outputBytes = consoleOutputBytes,
    .outputWide = consoleOutputWide,
    .readLine = nullptr,
    .keyIsDown = consoleKeyIsDown,
    .readMouse = consoleReadMouse,
    .placeMouse = consolePlaceMouse,
    .portIn = nullptr,
    .portOut = nullptr,
    .viewChanged = nullptr,
    .promptLine = nullptr,
    .promptLineWide = nullptr,
    .readCell = nullptr,
    .sleepMs = consoleSleep,
    .outputRedirected = consoleOutputRedirected,
    .copyPage = nullptr,
    .setPages = nullptr,
};

void resetTextConsole() { textConsole = TextConsoleState{}; }

void releaseTextConsole() {
  restoreTerminal();
  removeControlHandler();
}

void attachTextConsole(int inputFd, int outputFd) {
  restoreTerminal();
  textConsole.inputFd = inputFd;
  textConsole.outputFd = outputFd;
  textConsole.inputGone = false;
}

void setTextConsolePause(ConsolePause pause) { textConsole.pause = pause ? pause : systemPause; }

}  // namespace krgfx
