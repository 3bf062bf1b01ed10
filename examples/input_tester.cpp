// Shows the code of every key and the mouse report: on the graphics screen
// the last keys and the pointer each frame, on the text console (no display)
// one line per key. Escape or the window's close button ends it.
#include <cstdio>
#include <string>
#include <vector>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>

using namespace krgfx;

namespace {

constexpr int32_t escapeKey = 27;
constexpr size_t keysShown = 10;

// pollKey's string as a key code: a character, or (scan << 8) | 0xFF.
int32_t keyCode(const std::string& key) {
  if (key.size() == 1) return static_cast<uint8_t>(key[0]);
  return static_cast<uint8_t>(key[1]) << 8 | 0xFF;
}

std::string describeKey(int32_t code) {
  char line[64];
  if (code == windowCloseKey) return "close request (0x6BFF)";
  if (code < 256) {
    std::snprintf(line, sizeof line, "character %3d  0x%02X  '%c'", code, code,
                  code >= 32 ? code : '?');
  } else {
    std::snprintf(line, sizeof line, "extended key  0x%04X  scan %d", code, code >> 8);
  }
  return line;
}

std::string describeMouse() {
  int32_t x, y, wheel, buttons, clip;
  int32_t result = readMouse(&x, &y, &wheel, &buttons, &clip);
  char line[96];
  std::snprintf(line, sizeof line, "mouse: x %d  y %d  wheel %d  buttons 0x%X  clip %d%s", x, y,
                wheel, buttons, clip, result != 0 ? "  (outside or inactive)" : "");
  return line;
}

void drawReport(const std::vector<std::string>& keys) {
  lockScreen();
  clearScreen(notGiven);
  placeCursor(2, 2, -1, 0, 0);
  writeText(0, "Press keys, move the mouse, press its buttons. Escape ends.", printNewline);
  placeCursor(4, 2, -1, 0, 0);
  writeText(0, describeMouse(), printNewline);
  for (size_t index = 0; index < keys.size(); ++index) {
    placeCursor(static_cast<int32_t>(6 + index), 2, -1, 0, 0);
    writeText(0, keys[index], printNewline);
  }
  unlockScreen(-1, -1);
}

void testOnScreen() {
  std::vector<std::string> keys;
  for (;;) {
    for (std::string key = pollKey(); !key.empty(); key = pollKey()) {
      int32_t code = keyCode(key);
      if (code == escapeKey || code == windowCloseKey) return;
      keys.insert(keys.begin(), describeKey(code));
      if (keys.size() > keysShown) keys.pop_back();
    }
    drawReport(keys);
    sleepMs(20, 1);
  }
}

// The console has no mouse; waitKey answers 0 when no key can ever come.
void testOnConsole() {
  writeText(0, "No window: keys from the terminal. Escape ends.", printNewline);
  writeText(0, describeMouse(), printNewline);
  for (int32_t code = waitKey(); code != 0; code = waitKey()) {
    if (code == escapeKey || code == windowCloseKey) return;
    writeText(0, describeKey(code), printNewline);
  }
  writeText(0, "No more keys can come.", printNewline);
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  if (openScreen(640, 480, 32, 1, 0, 0) == 0) {
    testOnScreen();
  } else {
    testOnConsole();
  }
  runtimeEnd(0);
}
