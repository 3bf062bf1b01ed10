// The real game binary on an X server: driven with XTest, its window read
// back with XGetImage. The same play runs the Linux program and, when
// KRGFX_WINE_BUILD names a cross build, its game.exe under Wine.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "game/frame_files.h"
#include "gfx/builtin_data.h"

// After everything else: Xlib's macros (None, Bool, Status) clash with names
// in other headers.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "support/x11_display_scale.h"
#include "support/x11_test_client.h"

namespace krgfx {
// clang-format on

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int32_t windowWidth = 800;
constexpr int32_t windowHeight = 600;

const char* const collecting = "Musisz uzbierac dokladnie 100!";
const char* const won = "Dosc juz, jestes wygrywem!";
const char* const overshot = "Przesadziles, co za duzo to niezdrowo! Idziesz do psychiatry.";

// One capture of (part of) the window's client area, pixels 0x00RRGGBB;
// outside the captured part every pixel reads 0.
struct Capture {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<size_t>(y) * width + x];
  }
};

// The text of a row of 8 x 8 cells (1-based), read against the built-in font.
std::string readRow(const Capture& capture, int32_t row) {
  unpackBuiltinData();
  const FontDesc& font = fontTable[0];
  std::string text;
  for (int32_t col = 0; col < capture.width / 8; ++col) {
    uint8_t cell[8];
    for (int32_t y = 0; y < 8; ++y) {
      cell[y] = 0;
      for (int32_t x = 0; x < 8; ++x) {
        if (capture.at(col * 8 + x, (row - 1) * 8 + y) & 0xFFFFFF) cell[y] |= 1 << x;
      }
    }
    char shown = '?';
    for (int32_t glyph = 32; glyph < 127; ++glyph) {
      if (std::memcmp(font.glyphs + glyph * 8, cell, 8) == 0) {
        shown = static_cast<char>(glyph);
        break;
      }
    }
    text += shown;
  }
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// The score that row 2 shows from column 2, or -1 when it reads otherwise.
int32_t shownScore(const Capture& capture) {
  std::string row = readRow(capture, 2);
  const std::string before = " Zdobyles ", after = " punktow!";
  if (row.rfind(before, 0) != 0 || row.size() <= before.size() + after.size() ||
      row.substr(row.size() - after.size()) != after) {
    return -1;
  }
  std::string digits = row.substr(before.size(), row.size() - before.size() - after.size());
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(digits);
}

// Whether frame n is drawn with its centre at (x, y): every pixel of its file
// that is not magenta shows there.
bool frameAt(const Capture& capture, int32_t n, int32_t x, int32_t y) {
  static std::vector<uint8_t> files[6];
  std::vector<uint8_t>& file = files[n];
  if (file.empty()) file = frame_files::bytesOf(frame_files::frames[n].name);
  int32_t size = frame_files::frames[n].size;
  for (int32_t row = 0; row < size; ++row) {
    for (int32_t col = 0; col < size; ++col) {
      uint32_t expected = frame_files::pixel(file, col, row);
      if (frame_files::transparent(expected)) continue;
      if (capture.at(x - size / 2 + col, y - size / 2 + row) != (expected & 0xFFFFFF)) {
        return false;
      }
    }
  }
  return true;
}

bool blankAround(const Capture& capture, int32_t x, int32_t y, int32_t half) {
  for (int32_t row = y - half; row < y + half; ++row) {
    for (int32_t col = x - half; col < x + half; ++col) {
      if (capture.at(col, row) != 0) return false;
    }
  }
  return true;
}

// Which build of the game runs.
struct GameProgram {
  const char* name;
  bool underWine;
};
void PrintTo(const GameProgram& program, std::ostream* out) { *out << program.name; }

// The 32 by 32 image of game/game.ico as 0xAARRGGBB, top row first.
std::vector<uint32_t> programIcon() {
  std::ifstream file(std::string(KRGFX_SOURCE_DIR) + "/game/game.ico", std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
  auto word = [&](size_t at) { return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8); };
  auto dword = [&](size_t at) { return word(at) | word(at + 2) << 16; };
  std::vector<uint32_t> pixels;
  for (size_t entry = 0; bytes.size() >= 6 && entry < word(4); ++entry) {
    size_t at = 6 + 16 * entry;
    if (bytes[at] != 32 || bytes[at + 1] != 32 || word(at + 6) != 32) continue;
    size_t rows = dword(at + 12) + 40;  // bottom-up rows after the bitmap header
    for (int32_t y = 31; y >= 0; --y)
      for (int32_t x = 0; x < 32; ++x) {
        size_t pixel = rows + (static_cast<size_t>(y) * 32 + x) * 4;
        pixels.push_back(bytes[pixel + 3] << 24 | bytes[pixel + 2] << 16 | bytes[pixel + 1] << 8 |
                         bytes[pixel]);
      }
    break;
  }
  return pixels;
}

class GameWindowTest : public ::testing::TestWithParam<GameProgram> {
 protected:
  void SetUp() override {
    underWine = GetParam().underWine;
    if (underWine) {
      const char* build = std::getenv("KRGFX_WINE_BUILD");
      if (!build || !*build) GTEST_SKIP() << "no cross build in KRGFX_WINE_BUILD";
      windowsGame = std::string(build) + "/game.exe";
    }
    SKIP_WITHOUT_X_SERVER();
    // The server refuses connections for a moment while it resets after
    // its last client (the previous test) went away.
    waitFor([&] { return (display = XOpenDisplay(nullptr)) != nullptr; }, 5s);
    XSetErrorHandler(toleratingVanishedWindows);
    ASSERT_NE(display, nullptr) << "no X server on $DISPLAY";
    int event, error, major, minor;
    ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
    // Under Wine the desktop's scale is Wine's own setting, not the X
    // server's: only KRGFX_SCALE is known to the test there.
    scale = expectedWindowScale(display, 0, windowWidth, windowHeight);
    if (underWine && parseDisplayScale(std::getenv("KRGFX_SCALE")) <= 0) scale = 1;
  }
  void TearDown() override {
    stopGame();
    if (!display) return;  // skipped, or no X server
    for (int32_t button = 1; button <= 3; ++button) XTestFakeButtonEvent(display, button, False, 0);
    XCloseDisplay(display);
  }

  // Starts the game in assets/ and waits for its window's first frame.
  void launch() {
    // Over the middle of the compositor, where the game's window appears:
    // a pointer outside it reads as all buttons down.
    if (Window compositor = onCompositor() ? compositorWindow(display) : 0) {
      XWindowAttributes attributes{};
      XGetWindowAttributes(display, compositor, &attributes);
      XTestFakeMotionEvent(display, 0, attributes.x + attributes.width / 2,
                           attributes.y + attributes.height / 2, 0);
      XSync(display, False);
    }
    ASSERT_NO_FATAL_FAILURE(startGame());
    std::string missing = awaitWindow();
    // Wine once, in a great many starts, never mapped a starting program's
    // window; a second start tells that apart from a game that cannot show one.
    if (!missing.empty() && underWine && game > 0) {
      std::cerr << missing << "; starting the game once more\n";
      stopGame();
      ASSERT_NO_FATAL_FAILURE(startGame());
      missing = awaitWindow();
    }
    ASSERT_TRUE(missing.empty()) << missing;
    ASSERT_TRUE(waitFor([&] { return shownScore(captureText()) == 0; }, 5s))
        << readRow(captureText(), 2);
  }

  void startGame() {
    game = fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
      if (chdir(frame_files::assets.c_str()) != 0) _exit(126);
      unsetenv("KRGFX");
      if (underWine) {
        setenv("WINEDEBUG", "-all", 1);
        execlp("wine", "wine", windowsGame.c_str(), static_cast<char*>(nullptr));
      } else {
        execl(KRGFX_BINARY_DIR "/game", "game", static_cast<char*>(nullptr));
      }
      _exit(127);
    }
  }

  void stopGame() {
    if (game > 0 && waitpid(game, nullptr, WNOHANG) == 0) {
      kill(game, SIGKILL);
      waitpid(game, nullptr, 0);
    }
    game = -1;
  }

  // Empty once the game's window shows, else what went wrong.
  std::string awaitWindow() {
    int ended = -1;
    // Wine starts slowly the first time in a prefix.
    if (waitFor([&] { return findWindow() || (ended = exitStatus(1ms)) >= 0; },
                underWine ? 60s : 10s) &&
        ended < 0) {
      return "";
    }
    return "the game's window did not appear; " +
           (ended < 0 ? "the game still runs, windows: " + topLevelWindows()
                      : "the game ended with " + std::to_string(ended));
  }

  // The server's viewable top-level windows: name and size of each.
  std::string topLevelWindows() {
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return "none";
    std::string list;
    for (unsigned index = 0; index < count; ++index) {
      XClassHint hint{};
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display, children[index], &attributes) ||
          attributes.map_state != IsViewable) {
        continue;
      }
      XGetClassHint(display, children[index], &hint);
      list += std::string(hint.res_name ? hint.res_name : "?") + " " +
              std::to_string(attributes.width) + "x" + std::to_string(attributes.height) + "; ";
      XFree(hint.res_name);
      XFree(hint.res_class);
    }
    XFree(children);
    return list;
  }

  bool findWindow() {
    if (onCompositor()) return findCompositorWindow();
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return false;
    window = 0;
    for (unsigned index = 0; index < count && !window; ++index) {
      XClassHint hint{};
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display, children[index], &attributes) ||
          attributes.map_state != IsViewable || !XGetClassHint(display, children[index], &hint)) {
        continue;
      }
      // Wine names its windows after the program, and makes one that would
      // not fit on the screen (the client area and the caption) shorter.
      bool ours = underWine
                      ? hint.res_name && std::strcmp(hint.res_name, "game.exe") == 0
                      : (hint.res_class && std::strncmp(hint.res_class, "krgfxclass_", 11) == 0) ||
                            (hint.res_name && std::strncmp(hint.res_name, "krgfxclass_", 11) == 0);
      bool fullHeight = underWine ? attributes.height > windowHeight * scale / 2
                                  : attributes.height == windowHeight * scale;
      if (ours && attributes.width == windowWidth * scale && fullHeight) {
        window = children[index];
      }
      XFree(hint.res_name);
      XFree(hint.res_class);
    }
    XFree(children);
    return window != 0;
  }

  // On a compositor the game's window lies in the middle of the
  // compositor's (weston's kiosk shell centres it).
  bool findCompositorWindow() {
    window = compositorWindow(display);
    XWindowAttributes attributes{};
    if (!window || !XGetWindowAttributes(display, window, &attributes)) return false;
    clientX = (attributes.width - windowWidth * scale) / 2;
    clientY = (attributes.height - windowHeight * scale) / 2;
    return true;
  }

  // The picture's top `rows` rows (all by default) as far as they lie on the
  // screen, one pixel per framebuffer pixel. Each framebuffer pixel must be
  // shown as a square of the window's scale: a square of several colours
  // reads 0xFF000000, which no comparison matches.
  Capture capture(int32_t rows = windowHeight) {
    Capture result;
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), clientX, clientY, &rootX,
                          &rootY, &child);
    int32_t width = std::min(windowWidth * scale, DisplayWidth(display, 0) - rootX);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int32_t height = std::min(
        {rows * scale, attributes.height - clientY, DisplayHeight(display, 0) - rootY});
    XImage* image = XGetImage(display, window, clientX, clientY, width, height, AllPlanes, ZPixmap);
    if (!image) return result;
    result.width = width / scale;
    result.height = height / scale;
    result.pixels.resize(static_cast<size_t>(result.width) * result.height);
    for (int32_t y = 0; y < result.height; ++y)
      for (int32_t x = 0; x < result.width; ++x)
        result.pixels[static_cast<size_t>(y) * result.width + x] = squareAt(image, x, y);
    XDestroyImage(image);
    return result;
  }
  uint32_t squareAt(XImage* image, int32_t x, int32_t y) const {
    auto pixel = [image](int32_t atX, int32_t atY) -> uint32_t {
      if (image->bits_per_pixel != 32) return XGetPixel(image, atX, atY) & 0xFFFFFF;
      uint32_t value;
      std::memcpy(&value, image->data + static_cast<size_t>(atY) * image->bytes_per_line + atX * 4,
                  4);
      return value & 0xFFFFFF;
    };
    uint32_t colour = pixel(x * scale, y * scale);
    for (int32_t dy = 0; dy < scale; ++dy)
      for (int32_t dx = 0; dx < scale; ++dx)
        if (pixel(x * scale + dx, y * scale + dy) != colour) return 0xFF000000;
    return colour;
  }
  // The two text rows of the score and the message, quick to take.
  Capture captureText() { return capture(24); }

  void movePointer(int32_t x, int32_t y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display),
                          clientX + x * scale + scale / 2, clientY + y * scale + scale / 2, &rootX,
                          &rootY, &child);
    XTestFakeMotionEvent(display, 0, rootX, rootY, 0);
    XFlush(display);
  }
  void button(bool down) {
    XTestFakeButtonEvent(display, 1, down ? True : False, 0);
    XFlush(display);
  }
  void typeKey() {
    KeyCode key = XKeysymToKeycode(display, XK_a);
    XTestFakeKeyEvent(display, key, True, 0);
    XTestFakeKeyEvent(display, key, False, 0);
    XFlush(display);
  }

  // The 32 by 32 image of the window's icon property, empty without one.
  std::vector<uint32_t> windowIcon() {
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    std::vector<uint32_t> pixels;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 20,
                           False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data) {
      // Images of width, height and pixels follow each other; longs on the client.
      const auto* values = reinterpret_cast<const unsigned long*>(data);
      for (unsigned long at = 0; at + 2 <= count && pixels.empty();) {
        unsigned long size = values[at] * values[at + 1];
        if (values[at] == 32 && values[at + 1] == 32 && at + 2 + size <= count)
          for (unsigned long i = 0; i < size; ++i)
            pixels.push_back(static_cast<uint32_t>(values[at + 2 + i]));
        at += 2 + size;
      }
    }
    if (data) XFree(data);
    return pixels;
  }

  static bool waitFor(const std::function<bool()>& condition, Clock::duration limit) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
      if (condition()) return true;
      std::this_thread::sleep_for(5ms);
    }
    return condition();
  }

  bool running() { return waitpid(game, nullptr, WNOHANG) == 0; }
  // The game's exit status once it ended within the limit, else -1.
  int exitStatus(Clock::duration limit) {
    auto end = Clock::now() + limit;
    int status = 0;
    while (Clock::now() < end) {
      pid_t ended = waitpid(game, &status, WNOHANG);
      if (ended == game) {
        game = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

  // Holds the button until the score reads 99 and lets go at once, so that
  // it stops at exactly 100; a late release (a loaded machine) starts another round.
  bool stopAtTheWinningScore() {
    for (int attempt = 0; attempt < 5; ++attempt) {
      button(true);
      bool reached = waitFor([&] { return shownScore(captureText()) == 99; }, 30s);
      button(false);
      if (!reached) return false;
      std::this_thread::sleep_for(200ms);
      if (shownScore(captureText()) == 100) return true;
    }
    return false;
  }

  Display* display = nullptr;
  Window window = 0;
  pid_t game = -1;
  bool underWine = false;
  int32_t scale = 1;             // display pixels per framebuffer pixel
  int clientX = 0, clientY = 0;  // the game's client area in `window`
  std::string windowsGame;
};

TEST_P(GameWindowTest, PlaysThroughEveryState) {
  ASSERT_NO_FATAL_FAILURE(launch());
  Capture first = capture();
  EXPECT_EQ(readRow(first, 2), " Zdobyles 0 punktow!");  // from column 2
  EXPECT_EQ(readRow(first, 3), std::string(" ") + collecting);

  // The sprite appears around the pointer and follows it.
  movePointer(300, 300);
  EXPECT_TRUE(waitFor([&] { return frameAt(capture(), 1, 300, 300); }, 3s));
  movePointer(500, 420);
  EXPECT_TRUE(waitFor(
      [&] {
        Capture now = capture();
        return frameAt(now, 1, 500, 420) && blankAround(now, 300, 300, 16);
      },
      3s));

  // Holding the left button: the pressed frame, about one point per frame.
  button(true);
  ASSERT_TRUE(waitFor([&] { return shownScore(captureText()) >= 1; }, 3s));
  auto start = Clock::now();
  int32_t startScore = shownScore(captureText());
  EXPECT_TRUE(frameAt(capture(), 2, 500, 420));
  std::this_thread::sleep_for(1500ms);
  int32_t gained = shownScore(captureText()) - startScore;
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  button(false);
  EXPECT_LE(gained, seconds * 20 + 2) << "at most one point per 50 ms frame";
  EXPECT_GE(gained, seconds * 5) << "the score rises while the button is held";

  // Exactly 100: the won message and frame 5, for as long as no button is down.
  ASSERT_TRUE(stopAtTheWinningScore());
  std::this_thread::sleep_for(300ms);
  Capture atHundred = capture();
  EXPECT_EQ(shownScore(atHundred), 100);
  EXPECT_EQ(readRow(atHundred, 3), std::string(" ") + won);
  EXPECT_TRUE(frameAt(atHundred, 5, 500, 420));

  // Above 100: the overshoot message and frames 3 and 4 taking turns.
  button(true);
  ASSERT_TRUE(waitFor([&] { return shownScore(captureText()) > 100; }, 3s));
  EXPECT_EQ(readRow(captureText(), 3), std::string(" ") + overshot);
  bool sawThree = false, sawFour = false;
  waitFor(
      [&] {
        Capture now = capture();
        sawThree |= frameAt(now, 3, 500, 420);
        sawFour |= frameAt(now, 4, 500, 420);
        return sawThree && sawFour;
      },
      2s);
  EXPECT_TRUE(sawThree);
  EXPECT_TRUE(sawFour);

  // Past 200 the score starts again from 0.
  int32_t highest = 0;
  ASSERT_TRUE(waitFor(
      [&] {
        int32_t score = shownScore(captureText());
        highest = std::max(highest, score);
        return highest >= 190 && score >= 0 && score < 20;
      },
      15s));
  button(false);
  EXPECT_LE(highest, 200);

  // A key ends the loop: the last frame stays while the pointer moves on.
  std::this_thread::sleep_for(100ms);
  typeKey();
  std::this_thread::sleep_for(500ms);
  Capture last = capture();
  movePointer(200, 450);
  std::this_thread::sleep_for(500ms);
  Capture later = capture();
  EXPECT_TRUE(frameAt(later, 1, 500, 420));
  EXPECT_TRUE(last.pixels == later.pixels) << "the screen changed after the loop ended";
  EXPECT_TRUE(running());

  // A second key ends the program with status 0.
  typeKey();
  EXPECT_EQ(exitStatus(5s), 0);
}

TEST_P(GameWindowTest, CloseButtonEndsTheLoopLikeAKey) {
  ASSERT_NO_FATAL_FAILURE(launch());
  movePointer(400, 300);
  ASSERT_TRUE(waitFor([&] { return frameAt(capture(), 1, 400, 300); }, 3s));
  askWindowToClose(display, window);
  std::this_thread::sleep_for(500ms);
  movePointer(150, 400);
  std::this_thread::sleep_for(500ms);
  Capture after = capture();
  EXPECT_TRUE(frameAt(after, 1, 400, 300));
  EXPECT_TRUE(blankAround(after, 150, 400, 16));
  EXPECT_TRUE(running());
  EXPECT_TRUE(findWindow()) << "the window stays open";
  typeKey();
  EXPECT_EQ(exitStatus(5s), 0);
}

TEST_P(GameWindowTest, WindowCarriesTheProgramIcon) {
  if (!underWine) GTEST_SKIP() << "the Linux program carries no icon";
  ASSERT_NO_FATAL_FAILURE(launch());
  std::vector<uint32_t> expected = programIcon();
  ASSERT_EQ(expected.size(), 32u * 32u);
  EXPECT_TRUE(windowIcon() == expected) << "the window shows another icon";
}

INSTANTIATE_TEST_SUITE_P(Builds, GameWindowTest,
                         ::testing::Values(GameProgram{"Linux", false}, GameProgram{"Wine", true}),
                         [](const ::testing::TestParamInfo<GameProgram>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace

}  // namespace krgfx
