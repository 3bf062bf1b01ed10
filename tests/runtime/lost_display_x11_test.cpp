// Programs whose X server goes away while they run (a closed ssh -X session,
// a crashed desktop): the game and programs waiting in waitKey or
// sleepMs(-1) end with status 0 instead of waiting for a key that can never
// come. Each test starts an X server of its own and ends it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "game/frame_files.h"

// After everything else: Xlib's macros clash with names in other headers.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/x11_test_client.h"
// clang-format on

namespace krgfx {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Waiter {
  const char* name;
  const char* how;     // wait_for_key's argument; null for the game
  const char* driver;  // KRGFX; null for the default choice
};
void PrintTo(const Waiter& waiter, std::ostream* out) { *out << waiter.name; }

bool onPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool waitFor(const std::function<bool()>& condition, Clock::duration limit) {
  for (auto end = Clock::now() + limit; Clock::now() < end;) {
    if (condition()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return condition();
}

class LostDisplay : public ::testing::TestWithParam<Waiter> {
 protected:
  void SetUp() override {
    if (!onPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed: no X server of our own to end";
    startServer();
  }
  void TearDown() override {
    if (programOutput >= 0) close(programOutput);
    if (display) XCloseDisplay(display);
    for (pid_t* child : {&program, &server})
      if (*child > 0) {
        kill(*child, SIGKILL);
        waitpid(*child, nullptr, 0);
      }
  }

  // Xvfb on a display number it finds free, told to us through a pipe.
  void startServer() {
    int numberPipe[2];
    ASSERT_EQ(pipe(numberPipe), 0);
    server = fork();
    ASSERT_GE(server, 0);
    if (server == 0) {
      close(numberPipe[0]);
      std::string fd = std::to_string(numberPipe[1]);
      int quiet = open("/dev/null", O_WRONLY);
      if (quiet >= 0) dup2(quiet, STDERR_FILENO);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(numberPipe[1]);
    std::string number;
    char byte;
    while (read(numberPipe[0], &byte, 1) == 1 && byte != '\n') number += byte;
    close(numberPipe[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    displayName = ":" + number;
  }

  void startProgram() {
    const Waiter& waiter = GetParam();
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
      close(output[0]);
      dup2(output[1], STDOUT_FILENO);
      setenv("DISPLAY", displayName.c_str(), 1);
      if (waiter.driver)
        setenv("KRGFX", waiter.driver, 1);
      else
        unsetenv("KRGFX");
      if (!waiter.how) {
        if (chdir(frame_files::assets.c_str()) != 0) _exit(126);
        execl(KRGFX_BINARY_DIR "/game", "game", static_cast<char*>(nullptr));
      } else {
        execl(KRGFX_BINARY_DIR "/tests/wait_for_key", "wait_for_key", waiter.how,
              static_cast<char*>(nullptr));
      }
      _exit(127);
    }
    close(output[1]);
    programOutput = output[0];
  }

  // wait_for_key says when its screen is open and it goes to wait.
  void awaitWaiting() {
    std::string line;
    char byte;
    while (read(programOutput, &byte, 1) == 1 && byte != '\n') line += byte;
    ASSERT_EQ(line, "waiting");
  }

  // The program's window once it is mapped and shows something (the game's
  // text) or, for a program that draws nothing, once it is mapped.
  bool windowUp() {
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return false;
    bool up = false;
    for (unsigned index = 0; index < count && !up; ++index) {
      XClassHint hint{};
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display, children[index], &attributes) ||
          attributes.map_state != IsViewable || !XGetClassHint(display, children[index], &hint))
        continue;
      bool ours = hint.res_class && std::strncmp(hint.res_class, "krgfxclass_", 11) == 0;
      up = ours && (GetParam().how || showsText(children[index]));
      XFree(hint.res_name);
      XFree(hint.res_class);
    }
    XFree(children);
    return up;
  }
  bool showsText(Window window) {
    XImage* image = XGetImage(display, window, 0, 0, 800, 24, AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int y = 0; y < 24 && !lit; ++y)
      for (int x = 0; x < 800 && !lit; ++x) lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return lit;
  }
  void awaitWindow() {
    ASSERT_TRUE(
        waitFor([&] { return (display = XOpenDisplay(displayName.c_str())) != nullptr; }, 10s));
    XSetErrorHandler(toleratingVanishedWindows);
    ASSERT_TRUE(waitFor([&] { return windowUp(); }, 10s)) << "the program's window did not appear";
    // Our own connection must not outlive the server.
    XCloseDisplay(display);
    display = nullptr;
  }

  // Ends the X server by its process id.
  void endServer() {
    ASSERT_EQ(kill(server, SIGTERM), 0);
    ASSERT_EQ(waitpid(server, nullptr, 0), server);
    server = -1;
  }

  // The program's wait status once it ended within `limit`; -1 when it did not.
  int endOfProgram(Clock::duration limit) {
    int status = -1;
    waitFor([&] { return waitpid(program, &status, WNOHANG) == program; }, limit);
    if (status != -1) program = -1;
    return status;
  }

  Display* display = nullptr;
  std::string displayName;
  pid_t server = -1;
  pid_t program = -1;
  int programOutput = -1;
};

}  // namespace

TEST_P(LostDisplay, TheProgramEndsWithStatusZero) {
  startProgram();
  awaitWindow();
  if (GetParam().how) awaitWaiting();
  auto lost = Clock::now();
  endServer();
  // A limit for a hang, far above the time it takes.
  int status = endOfProgram(20s);
  ASSERT_NE(status, -1) << "still waiting for a key after the X server ended";
  std::printf(
      "ended %lld ms after the X server\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lost).count()));
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(GameAndWaits, LostDisplay,
                         ::testing::Values(Waiter{"Game", nullptr, nullptr},
                                           Waiter{"WaitKeyDirectX", "waitKey", "DirectX"},
                                           Waiter{"WaitKeyGdi", "waitKey", "GDI"},
                                           Waiter{"SleepDirectX", "sleep", "DirectX"},
                                           Waiter{"SleepGdi", "sleep", "GDI"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The same on Wayland: a compositor that goes away ends the program as a
// lost X server does. Weston runs headless here, with a private runtime
// folder, and is ended by its process id.
class LostCompositor : public LostDisplay {
 protected:
  void SetUp() override {
    if (!onPath("weston")) GTEST_SKIP() << "weston is not installed: no compositor of our own";
    char folder[] = "/tmp/krgfx-lost-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    runtimeFolder = folder;
    server = fork();
    ASSERT_GE(server, 0);
    if (server == 0) {
      int quiet = open("/dev/null", O_WRONLY);
      if (quiet >= 0) dup2(quiet, STDERR_FILENO);
      setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
      execlp("weston", "weston", "--backend=headless-backend.so", "--shell=kiosk-shell.so",
             "--socket=krgfx-lost", "--idle-time=0", static_cast<char*>(nullptr));
      _exit(127);
    }
    std::string socket = runtimeFolder + "/krgfx-lost";
    ASSERT_TRUE(waitFor([&] { return access(socket.c_str(), F_OK) == 0; }, 10s))
        << "weston did not start";
  }
  void TearDown() override {
    LostDisplay::TearDown();
    if (!runtimeFolder.empty())
      std::system(("rm -rf " + runtimeFolder).c_str());  // the socket and its lock
  }
  void startOnCompositor() {
    setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
    setenv("WAYLAND_DISPLAY", "krgfx-lost", 1);
    setenv("KRGFX_WINDOW_SYSTEM", "wayland", 1);
    startProgram();
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("KRGFX_WINDOW_SYSTEM");
  }

  std::string runtimeFolder;
};

TEST_P(LostCompositor, TheProgramEndsWithStatusZero) {
  startOnCompositor();
  awaitWaiting();
  endServer();
  int status = endOfProgram(20s);
  ASSERT_NE(status, -1) << "still waiting for a key after the compositor ended";
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(Waits, LostCompositor,
                         ::testing::Values(Waiter{"WaitKeyDirectX", "waitKey", "DirectX"},
                                           Waiter{"WaitKeyGdi", "waitKey", "GDI"},
                                           Waiter{"SleepDirectX", "sleep", "DirectX"},
                                           Waiter{"SleepGdi", "sleep", "GDI"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace krgfx
