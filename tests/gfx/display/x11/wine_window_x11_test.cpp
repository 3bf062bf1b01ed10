// The Win32 window system under Wine on the test's X server: a Windows
// program (window_probe.exe of the cross build named by KRGFX_WINE_BUILD)
// opens a real Win32 window; its client area is read back with XGetImage,
// keys and the pointer are injected with XTest, and the program reports
// what pollKey and readMouse saw. Skipped without a cross build.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gfx/builtin_data.h"

// After everything else: Xlib's macros clash with names in other headers.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "support/x11_display_scale.h"
#include "support/x11_test_client.h"

extern char** environ;

namespace krgfx {
// clang-format on

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Wine starts slowly the first time in a prefix.
constexpr auto startLimit = 60s;
constexpr auto replyLimit = 5s;

struct ProbeCase {
  const char* driver;
  int depth;
};
void PrintTo(const ProbeCase& probe, std::ostream* out) {
  *out << probe.driver << ' ' << probe.depth << " bits";
}

// The colour the probe's pattern shows at (x, y), as 0xRRGGBB.
uint32_t expectedAt(int depth, int32_t x, int32_t y) {
  if (depth == 32)
    return static_cast<uint32_t>((x * 7 + y * 13) & 0xFF) << 16 |
           static_cast<uint32_t>((x ^ y) & 0xFF) << 8 | static_cast<uint32_t>((y * 3 + x) & 0xFF);
  unpackBuiltinData();
  const uint8_t* rgb = paletteTable[3].rgb + ((x + 3 * y) & 0xFF) * 3;
  return static_cast<uint32_t>(rgb[0]) << 16 | static_cast<uint32_t>(rgb[1]) << 8 | rgb[2];
}

class WineWindow : public ::testing::TestWithParam<ProbeCase> {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KRGFX_WINE_BUILD");
    if (!build || !*build) GTEST_SKIP() << "no cross build in KRGFX_WINE_BUILD";
    SKIP_WITHOUT_X_SERVER();
    probePath = std::string(build) + "/tests/window_probe.exe";
    ASSERT_EQ(access(probePath.c_str(), R_OK), 0) << probePath;
    display = XOpenDisplay(nullptr);
    XSetErrorHandler(toleratingVanishedWindows);
    ASSERT_NE(display, nullptr) << "no X server on $DISPLAY";
    int event, error, major, minor;
    ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
  }
  void TearDown() override {
    if (probe > 0) {
      kill(probe, SIGKILL);
      waitpid(probe, nullptr, 0);
    }
    if (output >= 0) close(output);
    if (display) {
      XTestFakeButtonEvent(display, 1, False, 0);
      XCloseDisplay(display);
    }
  }

  // Starts the probe under Wine and waits until it reports its client area:
  // 256 by 192 in a window (times the scale the run expects), 800 by 600 in
  // full screen. The screen saver is off while the screen is open.
  enum class Mode { window, keyed, full };
  void start(Mode mode = Mode::window) {
    bool fullScreen = mode == Mode::full;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    setenv("KRGFX", GetParam().driver, 1);
    setenv("WINEDEBUG", "-all", 1);
    std::string depth = std::to_string(GetParam().depth);
    std::string modeName = mode == Mode::full ? "full" : mode == Mode::keyed ? "keyed" : "window";
    keyBlock = mode == Mode::keyed;
    char* arguments[] = {const_cast<char*>("wine"), probePath.data(), depth.data(), modeName.data(),
                         nullptr};
    int spawned = posix_spawnp(&probe, "wine", &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    unsetenv("KRGFX");
    close(pipeEnds[1]);
    output = pipeEnds[0];
    ASSERT_EQ(spawned, 0) << "wine could not be started";
    ASSERT_EQ(lineStarting("saver ", startLimit), "saver 1");
    EXPECT_EQ(lineStarting("saver ", replyLimit), "saver 0");
    ASSERT_EQ(lineStarting("driver ", replyLimit), std::string("driver ") + GetParam().driver);
    std::istringstream client(lineStarting("client ", replyLimit));
    std::string word;
    client >> word >> left >> top >> width >> height;
    framebufferWidth = fullScreen ? 800 : 256;
    framebufferHeight = fullScreen ? 600 : 192;
    if (fullScreen) {
      EXPECT_EQ(left, 0);
      EXPECT_EQ(top, 0);
    }
    int32_t scale = fullScreen ? 1 : expectedScale();
    ASSERT_EQ(width, framebufferWidth * scale);
    ASSERT_EQ(height, framebufferHeight * scale);
  }

  // The window scale this run expects: KRGFX_SCALE, else the scale of the
  // DPI given to Wine (KRGFX_TEST_WINE_SCALE, 1 without).
  static int32_t expectedScale() {
    int32_t scale = parseDisplayScale(std::getenv("KRGFX_SCALE"));
    if (scale <= 0) scale = parseDisplayScale(std::getenv("KRGFX_TEST_WINE_SCALE"));
    return scale > 0 ? scale : 1;
  }
  PicturePlacement picture() const {
    return pictureInClient(width, height, framebufferWidth, framebufferHeight);
  }

  // Ends the probe with "q": the screen closes, the screen saver is back on.
  void quit() {
    movePointer(10, 10);  // no window manager: keys go to the window under the pointer
    typeKey(XK_q);
    EXPECT_EQ(lineStarting("saver ", replyLimit), "saver 1");
    EXPECT_EQ(exitStatus(replyLimit), 0);
  }

  // The first line not taken yet that starts with `prefix`, waiting for the
  // probe to write one; empty when none comes within the limit. Lines of
  // other kinds stay for their own questions.
  std::string lineStarting(const std::string& prefix, Clock::duration limit) {
    auto end = Clock::now() + limit;
    while (true) {
      for (auto line = lines.begin(); line != lines.end(); ++line)
        if (line->rfind(prefix, 0) == 0) {
          std::string found = *line;
          lines.erase(line);
          return found;
        }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
      if (left.count() <= 0 || !readLines(static_cast<int>(left.count()))) return "";
    }
  }

  // Takes what the probe wrote within `waitMs`; false when nothing came.
  bool readLines(int waitMs) {
    pollfd ready{output, POLLIN, 0};
    if (poll(&ready, 1, waitMs) <= 0) return false;
    char buffer[512];
    ssize_t count = read(output, buffer, sizeof buffer);
    if (count <= 0) return false;
    pending.append(buffer, static_cast<size_t>(count));
    std::string::size_type newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();  // text-mode output
      lines.push_back(line);
    }
    return true;
  }

  // Pixels of the client area on the screen that differ from the pattern,
  // -1 when it cannot be read.
  long mismatches() {
    Window root = DefaultRootWindow(display);
    int32_t shownWidth = std::min(width, DisplayWidth(display, 0) - left);
    int32_t shownHeight = std::min(height, DisplayHeight(display, 0) - top);
    XImage* image = XGetImage(display, root, left, top, static_cast<unsigned>(shownWidth),
                              static_cast<unsigned>(shownHeight), AllPlanes, ZPixmap);
    if (!image) return -1;
    long wrong = 0;
    const PicturePlacement placed = picture();
    for (int32_t y = 0; y < shownHeight; ++y)
      for (int32_t x = 0; x < shownWidth; ++x) {
        int32_t pictureX = x - placed.x, pictureY = y - placed.y, scale = placed.scale;
        bool inside = scale > 0 && pictureX >= 0 && pictureY >= 0 &&
                      pictureX < framebufferWidth * scale && pictureY < framebufferHeight * scale;
        uint32_t expected = inside ? shownAt(pictureX / scale, pictureY / scale) : 0;
        if ((XGetPixel(image, x, y) & 0xFFFFFF) != expected) ++wrong;
      }
    XDestroyImage(image);
    return wrong;
  }

  // The pattern, and in a colour-keyed window the black screen behind its
  // block of the key colour.
  uint32_t shownAt(int32_t x, int32_t y) const {
    if (keyBlock && x >= 64 && x < 128 && y >= 48 && y < 96) return 0;
    return expectedAt(GetParam().depth, x, y);
  }

  bool patternShown() {
    auto end = Clock::now() + replyLimit;
    while (Clock::now() < end) {
      if (mismatches() == 0) return true;
      std::this_thread::sleep_for(50ms);
    }
    return mismatches() == 0;
  }

  // The X window Wine made for the client area.
  Window clientWindow() {
    return findShownTopLevel(display, [this](Window, const XWindowAttributes& attributes) {
      return attributes.x == left && attributes.y == top && attributes.width == width &&
             attributes.height == height;
    });
  }

  // The pointer over framebuffer position (x, y): the middle of its square.
  void movePointer(int32_t x, int32_t y) {
    const PicturePlacement placed = picture();
    XTestFakeMotionEvent(display, 0, left + placed.x + x * placed.scale + placed.scale / 2,
                         top + placed.y + y * placed.scale + placed.scale / 2, 0);
    XFlush(display);
  }
  void button(unsigned number, bool down) {
    XTestFakeButtonEvent(display, number, down ? True : False, 0);
    XFlush(display);
  }
  void holdKey(KeySym symbol, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), down ? True : False, 0);
    XFlush(display);
  }
  void typeKey(KeySym symbol) {
    holdKey(symbol, true);
    holdKey(symbol, false);
  }
  // The probe's exit status once it ended within the limit, else -1.
  int exitStatus(Clock::duration limit) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
      int status = 0;
      if (waitpid(probe, &status, WNOHANG) == probe) {
        probe = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(20ms);
    }
    return -1;
  }

  std::string probePath;
  Display* display = nullptr;
  pid_t probe = -1;
  int output = -1;
  std::string pending;                               // a line not yet ended
  std::vector<std::string> lines;                    // lines not taken yet
  int32_t left = 0, top = 0, width = 0, height = 0;  // the client area
  int32_t framebufferWidth = 0, framebufferHeight = 0;
  bool keyBlock = false;  // a colour-keyed window: the block shows what lies behind
};

}  // namespace

TEST_P(WineWindow, ClientAreaShowsTheFramebuffer) {
  start();
  EXPECT_TRUE(patternShown()) << mismatches() << " pixels differ";
  quit();
}

// The window, frame and caption included, opens in the middle of the screen
// (within the pixel that an odd difference leaves over).
TEST_P(WineWindow, TheFramedWindowOpensCentred) {
  start();
  int32_t outerLeft = 0, outerTop = 0, outerWidth = 0, outerHeight = 0, screenWidth = 0,
          screenHeight = 0;
  std::string word;
  std::istringstream outer(lineStarting("window ", replyLimit));
  outer >> word >> outerLeft >> outerTop >> outerWidth >> outerHeight;
  std::istringstream screen(lineStarting("screen ", replyLimit));
  screen >> word >> screenWidth >> screenHeight;
  ASSERT_GT(outerWidth, width) << "a window with a frame";
  ASSERT_GT(outerHeight, height) << "a window with a caption";
  EXPECT_LE(std::abs(2 * outerLeft + outerWidth - screenWidth), 1);
  EXPECT_LE(std::abs(2 * outerTop + outerHeight - screenHeight), 1);
  quit();
}

// A colour-keyed window ("GDI" only) lets the screen behind show through
// its magenta pixels.
class WineColourKeyed : public WineWindow {};

TEST_P(WineColourKeyed, KeyColourShowsTheScreenBehind) {
  start(Mode::keyed);
  EXPECT_TRUE(patternShown()) << mismatches() << " pixels differ";
  quit();
}

// Input is the same at every depth: one case per driver.
class WineWindowInput : public WineWindow {};

TEST_P(WineWindowInput, KeysPointerAndCloseButtonReachTheProgram) {
  start();
  // Only once the pointer is over the active window does readMouse report.
  movePointer(40, 30);
  EXPECT_NE(lineStarting("mouse 40 30 0 ", replyLimit), "");
  button(1, true);
  EXPECT_NE(lineStarting("mouse 40 30 1 ", replyLimit), "");
  movePointer(100, 120);  // dragged with the button held
  EXPECT_NE(lineStarting("mouse 100 120 1 ", replyLimit), "");
  button(1, false);
  EXPECT_NE(lineStarting("mouse 100 120 0 ", replyLimit), "");
  button(4, true);  // one wheel notch forward
  button(4, false);
  EXPECT_NE(lineStarting("mouse 100 120 0 1", replyLimit), "");

  // keyIsDown follows the key while it is held; the press also types "a".
  holdKey(XK_a, true);
  EXPECT_EQ(lineStarting("held", replyLimit), "held 30");
  holdKey(XK_a, false);
  EXPECT_EQ(lineStarting("held", replyLimit), "held");
  EXPECT_EQ(lineStarting("key ", replyLimit), "key 61");
  typeKey(XK_F1);
  EXPECT_EQ(lineStarting("key ", replyLimit), "key ff3b");
  typeKey(XK_Up);
  EXPECT_EQ(lineStarting("key ", replyLimit), "key ff48");

  // Outside the client area every output reads -1.
  movePointer(width + 20, height + 20);
  EXPECT_NE(lineStarting("mouse -1 -1 -1 -1", replyLimit), "");

  Window window = clientWindow();
  ASSERT_NE(window, 0u) << "no X window over the client area";
  askWindowToClose(display, window);
  EXPECT_EQ(lineStarting("key ", replyLimit), "key ff6b");
  EXPECT_NE(lineStarting("close", replyLimit), "");
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(clientWindow(), window) << "the window stays open";

  quit();
}

// Alt+Enter asks for full screen; without a display mode of the screen's
// size the window covers the screen at its own mode, the picture at the
// largest whole scale that fits and centred on black, and takes input
// through the picture's place. Alt+Enter again gives the window back.
TEST_P(WineWindowInput, AltEnterWithoutAFittingModeCoversTheScreen) {
  start();
  ASSERT_TRUE(patternShown());
  movePointer(40, 30);
  ASSERT_NE(lineStarting("mouse 40 30 0 ", replyLimit), "");
  holdKey(XK_Alt_L, true);
  typeKey(XK_Return);
  holdKey(XK_Alt_L, false);
  std::istringstream client(lineStarting("client ", replyLimit));
  std::string word;
  client >> word >> left >> top >> width >> height;
  EXPECT_EQ(left, 0);
  EXPECT_EQ(top, 0);
  ASSERT_EQ(width, DisplayWidth(display, 0));
  ASSERT_EQ(height, DisplayHeight(display, 0));
  EXPECT_GT(picture().scale, 0);
  EXPECT_TRUE(patternShown()) << mismatches() << " pixels differ";
  movePointer(50, 60);
  EXPECT_NE(lineStarting("mouse 50 60 0 ", replyLimit), "");
  typeKey(XK_a);
  EXPECT_EQ(lineStarting("key ", replyLimit), "key 61");
  holdKey(XK_Alt_L, true);
  typeKey(XK_Return);
  holdKey(XK_Alt_L, false);
  std::istringstream back(lineStarting("client ", replyLimit));
  back >> word >> left >> top >> width >> height;
  EXPECT_EQ(width, 256 * expectedScale());
  EXPECT_TRUE(patternShown()) << mismatches() << " pixels differ";
  quit();
}

// Full screen changes the display mode to the screen's size (the test
// server's own) and shows the picture from the screen's top-left corner.
class WineFullScreen : public WineWindow {};

TEST_P(WineFullScreen, TheWholeDisplayShowsTheFramebuffer) {
  start(Mode::full);
  EXPECT_TRUE(patternShown()) << mismatches() << " pixels differ";
  quit();
}

// Opening and closing a screen leaves no memory behind: over 20 more
// cycles after the first ten, the working set of screen_cycles.exe stays
// within 3 MiB (a window left to the end of its thread kept about 0.3 MiB
// each time, over 5 MiB in those cycles).
class WineScreenCycles : public ::testing::TestWithParam<const char*> {};

TEST_P(WineScreenCycles, ScreensOpenedAndClosedLeaveNoMemoryBehind) {
  const char* build = std::getenv("KRGFX_WINE_BUILD");
  if (!build || !*build) GTEST_SKIP() << "no cross build in KRGFX_WINE_BUILD";
  std::string program = std::string(build) + "/tests/screen_cycles.exe";
  ASSERT_EQ(access(program.c_str(), R_OK), 0) << program;
  setenv("KRGFX", GetParam(), 1);
  setenv("WINEDEBUG", "-all", 1);
  FILE* output = popen(("wine '" + program + "' 30 2>/dev/null").c_str(), "r");
  unsetenv("KRGFX");
  ASSERT_NE(output, nullptr);
  std::map<int, unsigned long long> workingSet;
  char line[256];
  while (std::fgets(line, sizeof line, output)) {
    int cycle = 0;
    unsigned long long privateBytes = 0, bytes = 0;
    if (std::sscanf(line, "cycle %d %llu %llu", &cycle, &privateBytes, &bytes) == 3)
      workingSet[cycle] = bytes;
  }
  EXPECT_EQ(pclose(output), 0);
  ASSERT_TRUE(workingSet.count(10) && workingSet.count(30)) << "the program did not finish";
  long long grown = static_cast<long long>(workingSet[30]) - static_cast<long long>(workingSet[10]);
  EXPECT_LT(grown, 3LL << 20) << "bytes kept by 20 screens";
}

INSTANTIATE_TEST_SUITE_P(Drivers, WineScreenCycles, ::testing::Values("GDI", "DirectX"),
                         [](const auto& info) { return std::string(info.param); });

namespace {

std::string caseName(const ::testing::TestParamInfo<ProbeCase>& info) {
  return std::string(info.param.driver) + "_" + std::to_string(info.param.depth);
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Drivers, WineWindow,
                         ::testing::Values(ProbeCase{"GDI", 32}, ProbeCase{"DirectX", 32},
                                           ProbeCase{"GDI", 8}, ProbeCase{"DirectX", 8}),
                         caseName);
INSTANTIATE_TEST_SUITE_P(Drivers, WineWindowInput,
                         ::testing::Values(ProbeCase{"GDI", 32}, ProbeCase{"DirectX", 32}),
                         caseName);
INSTANTIATE_TEST_SUITE_P(Drivers, WineColourKeyed, ::testing::Values(ProbeCase{"GDI", 32}),
                         caseName);
// An 8-bit screen in "DirectX" full screen keeps the desktop's depth and is
// converted by the Blitter.
INSTANTIATE_TEST_SUITE_P(Drivers, WineFullScreen,
                         ::testing::Values(ProbeCase{"GDI", 32}, ProbeCase{"DirectX", 32},
                                           ProbeCase{"DirectX", 8}),
                         caseName);

}  // namespace krgfx
