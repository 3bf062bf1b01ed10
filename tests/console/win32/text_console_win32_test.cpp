// The text console on Win32: a console of the process's own, fed with key
// input records and read back cell by cell; and pipes, which get the code
// page 437 bytes unchanged.
#include <windows.h>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>

#include <string>
#include <vector>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "console/console.h"

namespace krgfx {

namespace {

const ConsoleHooks& console = textConsoleHooks;

std::vector<int32_t> slices;
void recordPause(int32_t ms) { slices.push_back(ms); }

INPUT_RECORD keyRecord(WORD virtualKey, WORD scan, wchar_t character, bool down,
                       DWORD controlKeys = 0) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
  record.Event.KeyEvent.wVirtualScanCode = scan;
  record.Event.KeyEvent.uChar.UnicodeChar = character;
  record.Event.KeyEvent.dwControlKeyState = controlKeys;
  return record;
}

class ConsoleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AllocConsole();  // fails harmlessly when the process has one already
    input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
    output = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE || output == INVALID_HANDLE_VALUE)
      GTEST_SKIP() << "no console can be had here";
    FlushConsoleInputBuffer(input);
    inputFd = _open_osfhandle(reinterpret_cast<intptr_t>(input), _O_RDONLY);
    outputFd = _open_osfhandle(reinterpret_cast<intptr_t>(output), _O_WRONLY);
    ASSERT_GE(inputFd, 0);
    ASSERT_GE(outputFd, 0);
    resetTextConsole();
    attachTextConsole(inputFd, outputFd);
    setTextConsolePause(recordPause);
    slices.clear();
  }
  void TearDown() override {
    releaseTextConsole();
    setTextConsolePause(nullptr);
    if (inputFd >= 0) _close(inputFd);
    if (outputFd >= 0) _close(outputFd);
    resetTextConsole();
  }
  void type(std::vector<INPUT_RECORD> records) {
    DWORD written = 0;
    ASSERT_TRUE(
        WriteConsoleInputW(input, records.data(), static_cast<DWORD>(records.size()), &written));
    ASSERT_EQ(written, records.size());
  }
  std::vector<std::string> takeAllKeys() {
    std::vector<std::string> keys;
    for (std::string key = console.pollKey(); !key.empty(); key = console.pollKey())
      keys.push_back(key);
    return keys;
  }
  // The characters of `count` cells from the top-left of the console window.
  std::wstring cells(int32_t row, int32_t col, DWORD count) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    GetConsoleScreenBufferInfo(output, &info);
    std::wstring text(count, L'\0');
    COORD at{static_cast<SHORT>(info.srWindow.Left + col),
             static_cast<SHORT>(info.srWindow.Top + row)};
    DWORD read = 0;
    ReadConsoleOutputCharacterW(output, text.data(), count, at, &read);
    text.resize(read);
    return text;
  }
  COORD cursor() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    GetConsoleScreenBufferInfo(output, &info);
    return {static_cast<SHORT>(info.dwCursorPosition.X - info.srWindow.Left),
            static_cast<SHORT>(info.dwCursorPosition.Y - info.srWindow.Top)};
  }

  HANDLE input = INVALID_HANDLE_VALUE;
  HANDLE output = INVALID_HANDLE_VALUE;
  int inputFd = -1;
  int outputFd = -1;
};

TEST_F(ConsoleWindowTest, KeyRecordsBecomeKeyCodes) {
  type({keyRecord('A', 0x1E, L'a', true), keyRecord('A', 0x1E, L'a', false),
        keyRecord(VK_F1, 0x3B, 0, true), keyRecord(VK_SHIFT, 0x2A, 0, true, SHIFT_PRESSED),
        keyRecord(0xDE, 0x28, L'\u00e9', true), keyRecord(VK_RETURN, 0x1C, L'\r', true)});
  std::vector<std::string> keys = takeAllKeys();
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0], "a");      // the release types nothing
  EXPECT_EQ(keys[1], "\xFF;");  // an extended key: 0xFF, then its scan code
  EXPECT_EQ(keys[2], "\x82");   // typed characters arrive in code page 437
  EXPECT_EQ(keys[3], "\r");
}

TEST_F(ConsoleWindowTest, AKeyEndsAPause) {
  type({keyRecord('Q', 0x10, L'q', true)});
  console.sleepMs(500);
  EXPECT_TRUE(slices.empty());
  EXPECT_EQ(console.pollKey(), "q");
}

TEST_F(ConsoleWindowTest, TextShowsCodePage437AndTheCursorIsPlaced) {
  console.clearScreen(notGiven);
  EXPECT_EQ(cursor().X, 0);
  EXPECT_EQ(cursor().Y, 0);
  const std::string text = "Zdobyles \x82\x01";
  console.outputBytes(reinterpret_cast<const uint8_t*>(text.data()),
                      static_cast<int32_t>(text.size()), 0);
  EXPECT_EQ(cells(0, 0, 11), L"Zdobyles \u00e9\u263a");
  console.placeCursor(3, 5, -1);
  EXPECT_EQ(cursor().X, 4);
  EXPECT_EQ(cursor().Y, 2);
  EXPECT_EQ(console.outputRedirected(), 0);
  console.clearScreen(notGiven);
  EXPECT_EQ(cells(0, 0, 11), std::wstring(11, L' '));
}

TEST(PipedConsole, BytesStayAsTheyAreAndNoKeysArrive) {
  int input[2], output[2];
  ASSERT_EQ(_pipe(input, 256, _O_BINARY), 0);
  ASSERT_EQ(_pipe(output, 256, _O_TEXT), 0);  // a text-mode output, as redirected output is
  resetTextConsole();
  attachTextConsole(input[0], output[1]);
  setTextConsolePause(recordPause);
  slices.clear();
  ASSERT_EQ(_write(input[1], "abc", 3), 3);
  EXPECT_TRUE(console.pollKey().empty());
  console.sleepMs(-1);
  EXPECT_TRUE(slices.empty());
  console.placeCursor(2, 2, -1);
  const std::string text = "Zdobyles 0 \x82\r\n";
  console.outputBytes(reinterpret_cast<const uint8_t*>(text.data()),
                      static_cast<int32_t>(text.size()), 0);
  _setmode(output[0], _O_BINARY);
  char bytes[64] = {};
  int count = _read(output[0], bytes, sizeof bytes);
  EXPECT_EQ(std::string(bytes, static_cast<size_t>(count > 0 ? count : 0)), text);
  EXPECT_EQ(console.outputRedirected(), 1);
  releaseTextConsole();
  setTextConsolePause(nullptr);
  for (int fd : {input[0], input[1], output[0], output[1]}) _close(fd);
  resetTextConsole();
}

}  // namespace

}  // namespace krgfx
