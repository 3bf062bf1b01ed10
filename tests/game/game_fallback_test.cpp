// The real game binary with no X display and no terminal: it falls back to
// the text console and ends on a close request.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "game/frame_files.h"

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
  }

  // Starts the game in assets/ with no display, standard input /dev/null
  // and standard output a pipe.
  void launch() {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    game = fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
      int nothing = open("/dev/null", O_RDONLY);
      if (nothing < 0 || dup2(nothing, 0) < 0 || dup2(pipeEnds[1], 1) < 0) _exit(126);
      if (chdir(frame_files::assets.c_str()) != 0) _exit(126);
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      unsetenv("KRGFX");
      execl(KRGFX_BINARY_DIR "/game", "game", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeEnds[1]);
    output = pipeEnds[0];
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

}  // namespace
