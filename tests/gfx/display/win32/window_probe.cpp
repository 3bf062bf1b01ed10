// A Windows program that the window tests under Wine start and watch. It
// opens a screen with the driver that KRGFX names: 256 by 192 in a window,
// with "keyed" as its second argument in a colour-keyed window, with "full"
// 800 by 600 in full screen; depth 32 or the depth given as its first
// argument. It fills the screen with the pattern the tests expect (with a
// block of the key colour at 64..127, 48..95 in a colour-keyed window) and
// reports on standard output, one line each:
//   "saver <0 or 1>"                        the screen saver's setting: switched
//                                           on before the screen opens, then
//                                           while it is open and after it closed
//   "driver <name>"                         the driver that started
//   "window <left> <top> <width> <height>"  the window, frame included, as it
//                                           opened, and the screen's size:
//   "screen <width> <height>"
//   "client <left> <top> <width> <height>"  the client area on the screen, and
//                                           again whenever it changes
//   "key <hex bytes>"                       every key that pollKey returns
//   "mouse <x> <y> <buttons> <wheel>"       every change of what readMouse says
//   "held <scan codes>"                     every change of the keys keyIsDown sees
//   "close"                                 after the close key
// It ends with "q" typed, or after a minute.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "gfx/display/window_layer.h"
#include "support/screen_pixels.h"

using namespace krgfx;

namespace {

void report(const char* format, auto... values) {
  std::printf(format, values...);
  std::printf("\n");
  std::fflush(stdout);
}

void reportScreenSaver() {
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  report("saver %d", active ? 1 : 0);
}

// The scan codes held down, as keyIsDown reports them.
std::string heldKeys() {
  std::string held;
  for (int32_t scan = 1; scan < 128; ++scan)
    if (keyIsDown(scan)) held += " " + std::to_string(scan);
  return held;
}

// The same pattern the tests compute: a colour per pixel, or a palette index.
void drawPattern(bool keyBlock) {
  lockScreen();
  GfxScreen& screen = *gfxScreen;
  for (int32_t y = 0; y < screen.height; ++y) {
    uint8_t* row = screenPixels() + static_cast<ptrdiff_t>(y) * screen.pitch;
    for (int32_t x = 0; x < screen.width; ++x) {
      if (screen.bytesPerPixel == 4)
        reinterpret_cast<uint32_t*>(row)[x] = 0xFF000000u |
                                              static_cast<uint32_t>((x * 7 + y * 13) & 0xFF) << 16 |
                                              static_cast<uint32_t>((x ^ y) & 0xFF) << 8 |
                                              static_cast<uint32_t>((y * 3 + x) & 0xFF);
      else
        row[x] = static_cast<uint8_t>((x + 3 * y) & 0xFF);
    }
  }
  if (keyBlock)
    for (int32_t y = 48; y < 96; ++y) {
      uint8_t* row = screenPixels() + static_cast<ptrdiff_t>(y) * screen.pitch;
      for (int32_t x = 64; x < 128; ++x) {
        if (screen.bytesPerPixel == 4)
          reinterpret_cast<uint32_t*>(row)[x] = 0xFFFF00FFu;  // magenta
        else
          row[x] = 0;
      }
    }
  unlockScreen(-1, -1);
}

// Reports where the window opened, frame included, on a screen of which size.
void reportWindowRect() {
  lockScreen();
  WindowRect outer{};
  if (windowLayer.system && windowLayer.system->hasWindow())
    outer = windowLayer.system->windowRect();
  unlockScreen(1, 0);
  report("window %d %d %d %d", outer.left, outer.top, outer.right - outer.left,
         outer.bottom - outer.top);
  report("screen %d %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// Reports the client area when it differs from `last` (a window made again
// by a full-screen switch, or moved).
void reportClientArea(WindowRect& last) {
  lockScreen();
  WindowRect client{};
  if (windowLayer.system && windowLayer.system->hasWindow())
    client = windowLayer.system->clientRectOnScreen();
  unlockScreen(1, 0);
  if (client.left == last.left && client.top == last.top && client.right == last.right &&
      client.bottom == last.bottom)
    return;
  last = client;
  report("client %d %d %d %d", client.left, client.top, client.right - client.left,
         client.bottom - client.top);
}

std::string hexOf(const std::string& bytes) {
  std::string text;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02x", byte);
    text += digits;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  int32_t depth = argc > 1 ? std::atoi(argv[1]) : 32;
  bool fullScreen = argc > 2 && std::strcmp(argv[2], "full") == 0;
  bool colourKeyed = argc > 2 && std::strcmp(argv[2], "keyed") == 0;
  // The display is reached first: under Wine the setting lives in the X
  // server, which the system asks only once it has connected.
  ReleaseDC(nullptr, GetDC(nullptr));
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
  reportScreenSaver();
  int32_t opened = fullScreen
                       ? openScreen(800, 600, depth, 1, flagFullScreen, 0)
                       : openScreen(256, 192, depth, 1, colourKeyed ? flagColourKeyed : 0, 0);
  if (opened != 0) {
    report("open failed");
    return 1;
  }
  reportScreenSaver();
  report("driver %s", gfxScreen->driver->name);
  drawPattern(colourKeyed);
  reportWindowRect();
  WindowRect client{-1, -1, -1, -1};
  reportClientArea(client);

  int32_t last[4] = {-2, -2, -2, -2};
  std::string lastHeld;
  ULONGLONG end = GetTickCount64() + 60000;
  while (GetTickCount64() < end) {
    std::string key = pollKey();
    if (!key.empty()) {
      report("key %s", hexOf(key).c_str());
      if (key == "\xFFk") report("close");
      if (key == "q") break;
    }
    int32_t x = 0, y = 0, wheel = 0, buttons = 0, clip = 0;
    readMouse(&x, &y, &wheel, &buttons, &clip);
    if (x != last[0] || y != last[1] || buttons != last[2] || wheel != last[3]) {
      report("mouse %d %d %d %d", x, y, buttons, wheel);
      last[0] = x, last[1] = y, last[2] = buttons, last[3] = wheel;
    }
    reportClientArea(client);
    std::string held = heldKeys();
    if (held != lastHeld) report("held%s", held.c_str());
    lastHeld = held;
    sleepMs(10, 1);
  }
  closeScreen();
  reportScreenSaver();
  runtimeEnd(0);
}
