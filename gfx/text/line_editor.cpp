// The line editor: keys in, echo and cursor mark out, all through the hooks.
#include "gfx/text/line_editor.h"

#include <chrono>
#include <thread>

#include "gfx/text/screen_text.h"
#include "gfx/text/text_view.h"
#include "gfx/text/wide_output.h"
#include "runtime/runtime_state.h"

namespace krgfx {

namespace {

constexpr int32_t bel = 7, bs = 8, cr = 13;
constexpr uint8_t fullBlock = 219, underlineMark = 255;

struct Position {
  int32_t col, row;  // 1-based
};

void print(const void* bytes, int32_t length, int32_t mask = 0) {
  if (auto output = activeHook<&ConsoleHooks::outputBytes>())
    output(static_cast<const uint8_t*>(bytes), length, mask);
}

bool cursorAt(Position* at) {
  auto position = activeHook<&ConsoleHooks::cursorPosition>();
  if (!position) return false;
  position(&at->col, &at->row);
  return true;
}

void moveTo(Position at) {
  if (auto place = activeHook<&ConsoleHooks::placeCursor>()) place(at.row, at.col, -1);
}

// Draws one byte in the cursor's cell and leaves the cursor there.
void markCell(uint8_t byte) {
  print(nullptr, 0, outputFlushWrap);  // a pending wrap first moves the cursor on
  Position at;
  if (!cursorAt(&at)) return;
  print(&byte, 1);
  moveTo(at);
}

// The cell before the cursor, on the row above when the cursor is at a row's start.
Position cellBefore(Position at) {
  if (at.col > 1) return {at.col - 1, at.row};
  determineViewRows();
  if (at.row <= viewTop + 1) return at;
  int32_t cols = 0, rows = 0;
  if (auto grid = activeHook<&ConsoleHooks::gridSize>()) grid(&cols, &rows);
  return {cols > 0 ? cols : 1, at.row - 1};
}

void stepBack(uint8_t mark) {
  markCell(' ');
  Position at;
  if (!cursorAt(&at)) return;
  moveTo(cellBefore(at));
  markCell(' ');
  markCell(mark);
}

}  // namespace

int32_t waitedKey() {
  auto wait = activeHook<&ConsoleHooks::waitKey>();
  return wait ? wait() : 0;
}

int32_t polledKey() {
  for (;;) {
    auto pending = activeHook<&ConsoleHooks::keyPending>();
    auto poll = activeHook<&ConsoleHooks::pollKey>();
    if (!pending || !poll) return 0;
    if (!pending()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      continue;
    }
    std::string key = poll();
    if (key.empty()) continue;
    auto first = static_cast<uint8_t>(key[0]);
    if (first == 0xFF && key.size() > 1) return static_cast<uint8_t>(key[1]) << 8 | 0xFF;
    return first;
  }
}

std::string editLine(KeySource nextKey, uint8_t mark, size_t maxStored) {
  std::string line;
  markCell(mark);
  for (;;) {
    int32_t key = nextKey();
    if (key == 0 || key == cr) break;  // 0: the keyboard went away
    if (key > 255 || key < 0 || key == bel) continue;
    if (key == bs) {
      if (!line.empty()) stepBack(mark), line.pop_back();
      continue;
    }
    if (line.size() >= maxStored) continue;
    auto byte = static_cast<uint8_t>(key);
    print(&byte, 1);
    line.push_back(static_cast<char>(byte));
    markCell(mark);
  }
  markCell(' ');
  print("\r\n", 2);
  return line;
}

namespace screenText {

int32_t readLine(char* buffer, int32_t maxLength) {
  if (!buffer || maxLength <= 0) return 0;
  std::string line = editLine(waitedKey, fullBlock, static_cast<size_t>(maxLength - 1));
  line.copy(buffer, line.size());
  buffer[line.size()] = 0;
  return static_cast<int32_t>(line.size());
}

void promptLine(std::string& destination, const std::string* prompt, int32_t askMark) {
  if (prompt && !prompt->empty()) print(prompt->data(), static_cast<int32_t>(prompt->size()));
  if (askMark) print("? ", 2);
  destination = editLine(polledKey, underlineMark, std::string::npos);
}

void promptLineWide(std::u16string& destination, const std::u16string* prompt, int32_t askMark) {
  if (prompt && !prompt->empty())
    if (auto output = activeHook<&ConsoleHooks::outputWide>())
      output(prompt->data(), static_cast<int32_t>(prompt->size()), 0);
  if (askMark) print("? ", 2);
  std::string line = editLine(polledKey, underlineMark, std::string::npos);
  destination.clear();
  for (char byte : line) destination.push_back(widenCp437(static_cast<uint8_t>(byte)));
}

}  // namespace screenText

}  // namespace krgfx
