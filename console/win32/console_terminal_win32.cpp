// The text console on the Win32 console: key input records, the console's
// cursor and buffer routines, and text shown as UTF-16 from code page 437.
// Output that is no console (a file or pipe) gets the code page 437 bytes.
#include <io.h>
#include <windows.h>

#include "console/console_terminal.h"
#include "console/cp437.h"
#include "input/key_codes.h"

namespace {

// The console input whose mode we changed, and the mode it had.
HANDLE changedInput = nullptr;
DWORD savedMode = 0;

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

bool consoleMode(HANDLE handle, DWORD* mode) {
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, mode);
}

// The control-key state bits that the key codes read.
constexpr DWORD keyStateBits = RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED | RIGHT_CTRL_PRESSED |
                               LEFT_CTRL_PRESSED | SHIFT_PRESSED | ENHANCED_KEY;

int32_t keyCodeOf(const KEY_EVENT_RECORD& key) {
  wchar_t typed = key.uChar.UnicodeChar;
  int32_t character = typed ? unicodeToCp437(static_cast<char32_t>(typed)) : 0;
  UINT unshifted = MapVirtualKeyA(key.wVirtualKeyCode, MAPVK_VK_TO_CHAR) & 0x7FFF;
  return makeKeyCode(character, key.wVirtualScanCode, static_cast<int32_t>(unshifted),
                     static_cast<int32_t>(key.dwControlKeyState & keyStateBits));
}

}  // namespace

bool isTerminal(int fd) {
  DWORD mode;
  return consoleMode(handleOf(fd), &mode);
}

bool enterKeyMode(int fd) {
  HANDLE input = handleOf(fd);
  if (changedInput && changedInput == input) return true;
  DWORD mode;
  if (!consoleMode(input, &mode)) return false;
  restoreTerminal();  // another console input had been changed
  // Processed input stays: Ctrl+C still ends the program.
  DWORD keyMode = (mode | ENABLE_PROCESSED_INPUT) & ~(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
  if (!SetConsoleMode(input, keyMode)) return false;
  changedInput = input;
  savedMode = mode;
  return true;
}

void restoreTerminal() {
  if (!changedInput) return;
  SetConsoleMode(changedInput, savedMode);
  changedInput = nullptr;
}

bool readTerminalKeys(int fd, std::vector<int32_t>& codes) {
  HANDLE input = handleOf(fd);
  for (;;) {
    DWORD waiting = 0;
    if (!GetNumberOfConsoleInputEvents(input, &waiting)) return false;
    if (waiting == 0) return true;
    INPUT_RECORD records[64];
    DWORD count = 0;
    if (!ReadConsoleInputW(input, records, 64, &count)) return false;
    for (DWORD i = 0; i < count; ++i) {
      if (records[i].EventType != KEY_EVENT || !records[i].Event.KeyEvent.bKeyDown) continue;
      const KEY_EVENT_RECORD& key = records[i].Event.KeyEvent;
      int32_t code = keyCodeOf(key);
      if (code <= 0) continue;
      for (WORD repeat = 0; repeat < (key.wRepeatCount ? key.wRepeatCount : 1); ++repeat)
        codes.push_back(code);
    }
  }
}

void terminalGrid(int outputFd, int inputFd, int32_t* cols, int32_t* rows) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  for (int fd : {outputFd, inputFd}) {
    HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(handle, &info)) continue;
    int32_t width = info.srWindow.Right - info.srWindow.Left + 1;
    int32_t height = info.srWindow.Bottom - info.srWindow.Top + 1;
    if (width <= 0 || height <= 0) continue;
    *cols = width;
    *rows = height;
    return;
  }
  *cols = 80;
  *rows = 25;
}

void appendForTerminal(std::string& text, char32_t character) {
  text.push_back(static_cast<char>(unicodeToCp437(character)));
}

void writeTerminal(int fd, const std::string& text) {
  if (text.empty()) return;
  HANDLE output = handleOf(fd);
  DWORD mode;
  if (consoleMode(output, &mode)) {
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i)
      wide[i] = static_cast<wchar_t>(cp437ToUnicode(static_cast<uint8_t>(text[i])));
    // The controls the console acts on stay controls.
    for (size_t i = 0; i < text.size(); ++i) {
      char byte = text[i];
      if (byte == 7 || byte == 8 || byte == 9 || byte == 10 || byte == 13) wide[i] = byte;
    }
    DWORD written = 0;
    WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  const char* bytes = text.data();
  size_t left = text.size();
  while (left > 0) {
    int written = _write(fd, bytes, static_cast<unsigned>(left));
    if (written <= 0) return;
    bytes += written;
    left -= static_cast<size_t>(written);
  }
}

void placeTerminalCursor(int fd, int32_t row, int32_t col) {
  HANDLE output = handleOf(fd);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (output == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(output, &info)) return;
  COORD place{static_cast<SHORT>(info.srWindow.Left + col), static_cast<SHORT>(info.srWindow.Top + row)};
  SetConsoleCursorPosition(output, place);
}

void clearTerminal(int fd) {
  HANDLE output = handleOf(fd);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (output == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(output, &info)) return;
  DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  COORD home{0, 0};
  DWORD done = 0;
  FillConsoleOutputCharacterA(output, ' ', cells, home, &done);
  FillConsoleOutputAttribute(output, info.wAttributes, cells, home, &done);
  COORD top{0, info.srWindow.Top};
  SetConsoleCursorPosition(output, top);
}
