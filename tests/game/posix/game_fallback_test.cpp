// The real game binary with no X display and no terminal: it falls back to
// the text console and ends on a close request.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "game/frame_files.h"

namespace krgfx {

namespace {

using Clock = std::chrono::steady_clock;

class GameFallbackTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (game > 0 && waitpid(game, nullptr, WNOHANG) == 0) {
      kill(game, SIGKILL);
      waitpid(game, nullptr, 0);
    }
    if (output >= 0) close(output);
    if (terminal >= 0) close(terminal);
  }

  // Starts the game in assets/ with no display, standard input /dev/null
  // and standard output a pipe.
  void launch() {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    int nothing = open("/dev/null", O_RDONLY);
    ASSERT_GE(nothing, 0);
    start(nothing, pipeEnds[1]);
    close(nothing);
    close(pipeEnds[1]);
    output = pipeEnds[0];
  }
  // The same on a pseudo-terminal: the game's input and output are its slave.
  void launchOnTerminal() {
    winsize size{};
    size.ws_col = 100;
    size.ws_row = 30;
    ASSERT_EQ(openpty(&output, &terminal, nullptr, nullptr, &size), 0);
    start(terminal, terminal);
  }
  void start(int input, int printTo) {
    game = fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
      if (dup2(input, 0) < 0 || dup2(printTo, 1) < 0) _exit(126);
      if (chdir(frame_files::assets.c_str()) != 0) _exit(126);
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      unsetenv("KRGFX");
      execl(KRGFX_BINARY_DIR "/game", "game", static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  // Reads the game's output until it holds `text`, for at most `limit`.
  bool readUntil(const std::string& text, std::chrono::seconds limit) {
    auto end = Clock::now() + limit;
    while (printed.find(text) == std::string::npos && Clock::now() < end) {
      pollfd ready{output, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char chunk[4096];
      ssize_t count = read(output, chunk, sizeof chunk);
      if (count <= 0) break;
      printed.append(chunk, static_cast<size_t>(count));
    }
    return printed.find(text) != std::string::npos;
  }

  // The exit status once the game ended within the limit, else -1.
  int exitStatus(std::chrono::seconds limit) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
      int status = 0;
      if (waitpid(game, &status, WNOHANG) == game) {
        game = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
      }
      usleep(10000);
    }
    return -1;
  }

  pid_t game = -1;
  int output = -1;
  int terminal = -1;
  std::string printed;
};

TEST_F(GameFallbackTest, PlaysOnTheTextConsoleAndEndsOnTermination) {
  launch();
  // No mouse on the console: the buttons read -1, which counts as held
  // below 100, so the score climbs one per frame.
  EXPECT_TRUE(readUntil("Zdobyles 0 punktow!\r\nMusisz uzbierac dokladnie 100!\r\n",
                        std::chrono::seconds(20)))
      << printed;
  EXPECT_TRUE(readUntil("Zdobyles 2 punktow!", std::chrono::seconds(10))) << printed;
  EXPECT_EQ(printed.find('\x1b'), std::string::npos) << "no terminal sequences into a pipe";
  // A termination request is the console's close key: the loop ends, and
  // with no terminal to type on, the wait for a last key ends at once.
  kill(game, SIGTERM);
  EXPECT_EQ(exitStatus(std::chrono::seconds(10)), 0);
}

TEST_F(GameFallbackTest, OnATerminalKeysEndTheLoopAndTheProgram) {
  launchOnTerminal();
  EXPECT_TRUE(readUntil("\x1b[H\x1b[2J\x1b[2;2HZdobyles 0 punktow!", std::chrono::seconds(20)))
      << printed;
  termios modes;
  tcgetattr(terminal, &modes);
  EXPECT_FALSE(modes.c_lflag & (ICANON | ECHO)) << "keys are read without echo or lines";
  // No mouse: the score climbs one per frame.
  EXPECT_TRUE(readUntil("Zdobyles 5 punktow!", std::chrono::seconds(10))) << printed;
  // A key ends the loop: the last frame stays while the program waits for
  // one more key.
  ASSERT_EQ(write(output, "x", 1), 1);
  usleep(300000);
  readUntil("the rest of the last frame", std::chrono::seconds(1));
  printed.clear();
  readUntil("more output", std::chrono::seconds(1));
  EXPECT_EQ(printed, "");
  EXPECT_EQ(exitStatus(std::chrono::seconds(0)), -1);
  ASSERT_EQ(write(output, "\x1b[A", 3), 3);
  EXPECT_EQ(exitStatus(std::chrono::seconds(10)), 0);
  tcgetattr(terminal, &modes);
  EXPECT_TRUE((modes.c_lflag & (ICANON | ECHO)) == (ICANON | ECHO)) << "the terminal is restored";
}

}  // namespace

}  // namespace krgfx
