#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "console/console.h"

namespace krgfx {

namespace {

const ConsoleHooks& console = textConsoleHooks;

// Pause slices the console asked for; a test may act on each one.
std::vector<int32_t> slices;
void (*onSlice)(size_t sliceNumber) = nullptr;
void recordPause(int32_t ms) {
  slices.push_back(ms);
  if (onSlice) onSlice(slices.size());
}

// The console on the slave side of a pseudo-terminal of 100 x 30 cells.
class TextConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    winsize size{};
    size.ws_col = 100;
    size.ws_row = 30;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &size), 0);
    termios modes;
    tcgetattr(slave, &modes);
    modes.c_oflag &= ~OPOST;  // the bytes arrive as the console wrote them
    tcsetattr(slave, TCSANOW, &modes);
    attachTextConsole(slave, slave);
    slices.clear();
    onSlice = nullptr;
    setTextConsolePause(recordPause);
    terminalUnderTest = master;
  }
  void TearDown() override {
    releaseTextConsole();
    setTextConsolePause(nullptr);
    if (master >= 0) close(master);
    close(slave);
  }

  // Reads from the terminal until `length` bytes came or nothing more does.
  std::string output(size_t length) {
    std::string bytes;
    while (bytes.size() < length) {
      pollfd ready{master, POLLIN, 0};
      if (poll(&ready, 1, 2000) <= 0) break;
      char chunk[256];
      ssize_t count = read(master, chunk, sizeof chunk);
      if (count <= 0) break;
      bytes.append(chunk, static_cast<size_t>(count));
    }
    return bytes;
  }
  bool somethingWritten() {
    pollfd ready{master, POLLIN, 0};
    return poll(&ready, 1, 100) > 0;
  }
  void print(const std::string& text) {
    console.outputBytes(reinterpret_cast<const uint8_t*>(text.data()),
                        static_cast<int32_t>(text.size()), 0);
  }
  static void type(const std::string& keys) {
    ASSERT_EQ(write(terminalUnderTest, keys.data(), keys.size()),
              static_cast<ssize_t>(keys.size()));
    // Wait until the line discipline passes the bytes on to the slave side.
    for (int attempt = 0; attempt < 200; ++attempt) {
      int waiting = 0;
      ioctl(terminalUnderTest, TIOCOUTQ, &waiting);
      if (waiting == 0) break;
      usleep(1000);
    }
    usleep(2000);
  }
  std::vector<std::string> takeAllKeys() {
    std::vector<std::string> keys;
    for (std::string key = console.pollKey(); !key.empty(); key = console.pollKey()) {
      keys.push_back(key);
    }
    return keys;
  }
  bool inKeyMode() {
    termios modes;
    tcgetattr(slave, &modes);
    return !(modes.c_lflag & (ICANON | ECHO)) && (modes.c_lflag & ISIG);
  }

  int master = -1;
  int slave = -1;
  static inline int terminalUnderTest = -1;
};

TEST_F(TextConsoleTest, ClearAndPlaceUseAnsiSequences) {
  console.clearScreen(notGiven);
  EXPECT_EQ(output(7), "\x1b[H\x1b[2J");
  EXPECT_EQ(console.placeCursor(2, 2, -1), 0x202);
  EXPECT_EQ(output(6), "\x1b[2;2H");
  EXPECT_EQ(console.placeCursor(0, 5, -1), 0x205);  // row 0 keeps the row
  EXPECT_EQ(output(6), "\x1b[2;5H");
  EXPECT_EQ(runtimeState.fileTable[0].printColumn, 4);
  console.clearScreen(1);  // the graphics view: nothing on a terminal
  console.clearScreen(0);
  EXPECT_EQ(output(7), "\x1b[H\x1b[2J");
  EXPECT_EQ(console.cursorRow(), 1);
  EXPECT_EQ(console.cursorColumn(), 1);
}

TEST_F(TextConsoleTest, CodePage437ShowsAsUtf8AndControlsAsGlyphs) {
  print("Zdobyles");
  print(" 42");
  print(" punktow!");
  print("\r\n");
  EXPECT_EQ(output(22), "Zdobyles 42 punktow!\r\n");
  print("\x82\xDB\x01\x1b\x07\x08\t");
  // The escape byte is shown as its arrow, never sent as a control.
  EXPECT_EQ(output(14), "\xC3\xA9\xE2\x96\x88\xE2\x98\xBA\xE2\x86\x90\x07\x08\t");
  const std::u16string wide = u"\u00E9\U0001F600\xD800x";
  console.outputWide(wide.data(), static_cast<int32_t>(wide.size()), 0);
  EXPECT_EQ(output(8), "\xC3\xA9\xF0\x9F\x98\x80?x");
}

TEST_F(TextConsoleTest, CursorFollowsTheText) {
  console.placeCursor(2, 2, -1);
  print("Zdobyles 42 punktow!\r\n");
  EXPECT_EQ(console.cursorRow(), 3);
  EXPECT_EQ(console.cursorColumn(), 1);
  print("ab\tc");
  EXPECT_EQ(console.cursorColumn(), 10);
  print("\b\x07");
  EXPECT_EQ(console.cursorColumn(), 9);
  // A full row leaves the cursor at its end until the next character.
  console.placeCursor(5, 1, -1);
  print(std::string(100, 'x'));
  EXPECT_EQ(console.cursorColumn(), 100);
  EXPECT_EQ(console.cursorRow(), 5);
  print("y");
  EXPECT_EQ(console.cursorColumn(), 2);
  EXPECT_EQ(console.cursorRow(), 6);
  // The bottom row scrolls instead of moving on.
  console.placeCursor(30, 1, -1);
  print("\n\n");
  EXPECT_EQ(console.cursorRow(), 30);
  int32_t cols = 0, rows = 0;
  console.gridSize(&cols, &rows);
  EXPECT_EQ(cols, 100);
  EXPECT_EQ(rows, 30);
  EXPECT_EQ(console.outputRedirected(), 0);
}

TEST_F(TextConsoleTest, KeysAreReadWithoutEchoOrWaiting) {
  EXPECT_TRUE(console.pollKey().empty());  // nothing typed: no wait
  EXPECT_TRUE(inKeyMode());
  type("a\x1b[A\x1bOP\xC3\xA9\x7f\r");
  EXPECT_EQ(console.keyPending(), 1);
  EXPECT_EQ(takeAllKeys(), (std::vector<std::string>{"a", "\xFFH", "\xFF;", "\x82", "\b", "\r"}));
  EXPECT_EQ(console.keyPending(), 0);
  EXPECT_FALSE(somethingWritten());  // nothing echoed
  releaseTextConsole();
  EXPECT_FALSE(inKeyMode());
}

TEST_F(TextConsoleTest, SixteenKeysLoseTheFirst) {
  type("abcdefghijklmnop");
  std::string taken;
  for (const std::string& key : takeAllKeys()) taken += key;
  EXPECT_EQ(taken, "bcdefghijklmnop");
}

TEST_F(TextConsoleTest, WaitKeyReturnsTheNextKey) {
  onSlice = [](size_t sliceNumber) {
    if (sliceNumber == 2) type("\x1b[24~");
  };
  EXPECT_EQ(console.waitKey(), (134 << 8) | 0xFF);
  EXPECT_EQ(slices, (std::vector<int32_t>{20, 20}));
}

TEST_F(TextConsoleTest, PausesKeepTheGraphicsScreenTiming) {
  console.sleepMs(120);
  EXPECT_EQ(slices, (std::vector<int32_t>{50, 50, 20}));
  slices.clear();
  console.sleepMs(99);
  console.sleepMs(0);
  console.sleepMs(-5);
  EXPECT_EQ(slices, std::vector<int32_t>{99});
}

TEST_F(TextConsoleTest, AKeyEndsAPauseAndStaysQueued) {
  onSlice = [](size_t sliceNumber) {
    if (sliceNumber == 1) type("k");
  };
  console.sleepMs(500);
  EXPECT_EQ(slices, std::vector<int32_t>{50});
  EXPECT_EQ(console.pollKey(), "k");
  // A key typed before the pause and not taken ends it at the first test.
  slices.clear();
  onSlice = nullptr;
  type("q");
  console.sleepMs(-1);
  EXPECT_TRUE(slices.empty());
  EXPECT_EQ(console.pollKey(), "q");
}

TEST_F(TextConsoleTest, EndlessPauseWaitsForTheNextKey) {
  onSlice = [](size_t sliceNumber) {
    if (sliceNumber == 3) type("z");
  };
  console.sleepMs(-1);
  EXPECT_EQ(slices, (std::vector<int32_t>{50, 50, 50}));
  EXPECT_EQ(console.pollKey(), "z");
}

TEST_F(TextConsoleTest, HungUpTerminalEndsEveryWait) {
  EXPECT_TRUE(console.pollKey().empty());
  close(master);
  master = -1;
  EXPECT_TRUE(console.pollKey().empty());
  console.sleepMs(-1);
  EXPECT_EQ(console.waitKey(), 0);
  EXPECT_TRUE(slices.empty());
}

TEST_F(TextConsoleTest, NoMouse) {
  int32_t x = 5, y = 5, wheel = 5, buttons = 5, clip = 5;
  setRuntimeError(0);
  EXPECT_EQ(console.readMouse(&x, &y, &wheel, &buttons, &clip), errBadCall);
  EXPECT_EQ(runtimeError(), errBadCall);
  for (int32_t value : {x, y, wheel, buttons, clip}) EXPECT_EQ(value, -1);
  EXPECT_EQ(console.readMouse(&x, &y, nullptr, nullptr, nullptr), errBadCall);
  EXPECT_EQ(console.placeMouse(1, 1, 0, -1), errBadCall);
}

TEST_F(TextConsoleTest, CloseRequestsQueueTheCloseKeyOnceInputWasPolled) {
  console.keyPending();
  raise(SIGTERM);
  raise(SIGHUP);
  EXPECT_EQ(takeAllKeys(), (std::vector<std::string>{"\xFFk", "\xFFk"}));
  // At exit the defaults come back.
  releaseTextConsole();
  EXPECT_EXIT(raise(SIGTERM), ::testing::KilledBySignal(SIGTERM), "");
}

TEST_F(TextConsoleTest, CloseRequestsKeepTheirDefaultBeforeTheFirstPoll) {
  EXPECT_EXIT(raise(SIGTERM), ::testing::KilledBySignal(SIGTERM), "");
}

TEST_F(TextConsoleTest, AnIgnoredCloseRequestStaysIgnored) {
  signal(SIGHUP, SIG_IGN);
  console.keyPending();
  raise(SIGHUP);
  EXPECT_TRUE(console.pollKey().empty());
  signal(SIGHUP, SIG_DFL);
}

TEST_F(TextConsoleTest, CtrlCStillEndsTheProgramAndRestoresTheTerminal) {
  EXPECT_EXIT(
      {
        console.keyPending();
        if (!inKeyMode()) _exit(1);
        raise(SIGINT);
      },
      ::testing::KilledBySignal(SIGINT), "");
  EXPECT_FALSE(inKeyMode());
}

// Pipes instead of a terminal.
class PipedConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(pipe(input), 0);
    ASSERT_EQ(pipe(outputPipe), 0);
    attachTextConsole(input[0], outputPipe[1]);
    setTextConsolePause(recordPause);
    slices.clear();
  }
  void TearDown() override {
    releaseTextConsole();
    setTextConsolePause(nullptr);
    for (int fd : {input[0], input[1], outputPipe[0], outputPipe[1]}) close(fd);
  }
  int input[2];
  int outputPipe[2];
};

TEST_F(PipedConsoleTest, NoKeysAndNoWaiting) {
  ASSERT_EQ(write(input[1], "abc", 3), 3);
  EXPECT_TRUE(console.pollKey().empty());
  EXPECT_EQ(console.keyPending(), 0);
  EXPECT_EQ(console.waitKey(), 0);
  console.sleepMs(-1);
  EXPECT_TRUE(slices.empty());
  console.sleepMs(120);  // a timed pause still pauses
  EXPECT_EQ(slices, (std::vector<int32_t>{50, 50, 20}));
}

TEST_F(PipedConsoleTest, TextWithoutTerminalSequences) {
  console.clearScreen(notGiven);
  console.placeCursor(2, 2, -1);
  const std::string text = "Zdobyles 0 \x82";
  console.outputBytes(reinterpret_cast<const uint8_t*>(text.data()),
                      static_cast<int32_t>(text.size()), 0);
  char bytes[64] = {};
  ssize_t count = read(outputPipe[0], bytes, sizeof bytes);
  EXPECT_EQ(std::string(bytes, static_cast<size_t>(count)), "Zdobyles 0 \xC3\xA9");
  EXPECT_EQ(console.outputRedirected(), 1);
  int32_t cols = 0, rows = 0;
  console.gridSize(&cols, &rows);
  EXPECT_EQ(cols, 80);
  EXPECT_EQ(rows, 25);
}

}  // namespace

}  // namespace krgfx
