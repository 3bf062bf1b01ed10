// The text console on the Win32 console: key input records, the console's
// cursor and buffer routines, and text shown as UTF-16 from code page 437.
// Output that is no console (a file or pipe) gets the code page 437 bytes
// as they are.
#include <windows.h>

#include <io.h>

#include <atomic>

#include "console/console_terminal.h"
#include "console/cp437.h"
#include "input/key_codes.h"

namespace krgfx {

namespace {

// The console input whose mode we changed, and the mode it had. The control
// handler's thread restores it too.
std::atomic<HANDLE> changedInput{nullptr};
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
  if (input && changedInput.load() == input) return true;
  DWORD mode;
  if (!consoleMode(input, &mode)) return false;
  restoreTerminal();  // another console input had been changed
  // Processed input stays: Ctrl+C still ends the program.
  DWORD keyMode = (mode | ENABLE_PROCESSED_INPUT) & ~(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
  savedMode = mode;
  if (!SetConsoleMode(input, keyMode)) return false;
  changedInput = input;
  return true;
}

void restoreTerminal() {
  if (HANDLE input = changedInput.exchange(nullptr)) SetConsoleMode(input, savedMode);
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

namespace {

// The code page 437 byte of a shown character, the glyphs of the control
// bytes included.
uint8_t cp437ByteOf(char32_t character) {
  for (int byte = 1; byte < 32; ++byte)
    if (cp437ToUnicode(static_cast<uint8_t>(byte)) == character) return static_cast<uint8_t>(byte);
  if (character == cp437ToUnicode(127)) return 127;
  return unicodeToCp437(character);
}

}  // namespace

void appendForTerminal(std::string& text, char32_t character) {
  text.push_back(static_cast<char>(cp437ByteOf(character)));
}

void writeTerminal(int fd, const std::string& text) {
  if (text.empty()) return;
  HANDLE output = handleOf(fd);
  DWORD mode;
  if (consoleMode(output, &mode)) {
    // Glyphs as the code page shows them; the controls the console acts on
    // stay controls.
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      auto byte = static_cast<uint8_t>(text[i]);
      bool control = byte == 7 || byte == 8 || byte == 9 || byte == 10 || byte == 13;
      wide[i] = static_cast<wchar_t>(control ? byte : cp437ToUnicode(byte));
    }
    DWORD written = 0;
    WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  // Straight to the file or pipe: the C runtime's text mode would turn each
  // line end into CR CR LF.
  const char* bytes = text.data();
  size_t left = text.size();
  while (left > 0 && output != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (!WriteFile(output, bytes, static_cast<DWORD>(left), &written, nullptr) || written == 0)
      return;
    bytes += written;
    left -= written;
  }
}

void placeTerminalCursor(int fd, int32_t row, int32_t col) {
  HANDLE output = handleOf(fd);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (output == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(output, &info)) return;
  COORD place{static_cast<SHORT>(info.srWindow.Left + col),
              static_cast<SHORT>(info.srWindow.Top + row)};
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

}  // namespace krgfx
