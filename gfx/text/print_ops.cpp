// The runtime's print operations: the screen and numbered files, numbers in
// their formats, the print column and the print zones.
#include <algorithm>
#include <cstdio>

#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "runtime/runtime_state.h"

namespace krgfx {

namespace {

constexpr int32_t zoneWidth = 14;

bool isConsole(const FileHandle& file) { return &file == &runtimeState.fileTable[0]; }

// The handle a print may write to: the console, or a file that is open.
FileHandle* printTarget(int32_t fileNumber) {
  FileHandle* file = fileHandleOf(fileNumber);
  if (!file || (!isConsole(*file) && !file->hooks)) return nullptr;
  return file;
}

// Bytes since the last line start, within the line width when there is one.
void trackPrintColumn(FileHandle& file, const char* bytes, int32_t length) {
  int64_t column = int64_t{file.printColumn} + length;
  for (int32_t i = length; i-- > 0;)
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      column = length - 1 - i;
      break;
    }
  if (file.printWidth != 0) column %= file.printWidth;
  file.printColumn = static_cast<int32_t>(std::min<int64_t>(column, INT32_MAX));
}

// Writes bytes through the handle: the screen's output for the console, the
// file's own write operation otherwise.
int32_t writeBytes(FileHandle& file, const char* bytes, int32_t length) {
  if (isConsole(file)) {
    if (auto output = activeHook<&ConsoleHooks::outputBytes>())
      output(reinterpret_cast<const uint8_t*>(bytes), length, 0);
  } else {
    if (!file.hooks || !file.hooks->write) return errBadCall;
    if (int32_t code = file.hooks->write(file, bytes, length)) return code;
  }
  trackPrintColumn(file, bytes, length);
  return 0;
}

bool wantsNewline(int32_t mask) { return mask & (printNewline | printNewlineToo); }

// Writes a formatted number, then moves to the next zone when asked.
int32_t writeNumber(int32_t fileNumber, int32_t mask, const char* const formats[4], auto value) {
  FileHandle* file = printTarget(fileNumber);
  if (!file) return setRuntimeError(errBadCall);
  const char* format = formats[((mask & printSpaceAfter) ? 1 : 0) + (wantsNewline(mask) ? 2 : 0)];
  char text[16];  // sign, ten digits, space, CR LF
  int length = std::snprintf(text, sizeof text, format, value);
  int32_t code = writeBytes(*file, text, length);
  if (code == 0 && (mask & printNextZone)) code = nextPrintZone(*file);
  return setRuntimeError(code);
}

}  // namespace

void clearScreen(int32_t mode) {
  if (auto clear = activeHook<&ConsoleHooks::clearScreen>()) clear(mode);
  runtimeState.fileTable[0].printColumn = 0;
}

int32_t nextPrintZone(FileHandle& file) {
  int32_t column = std::max(file.printColumn, 0), width = file.printWidth;
  int32_t next = (std::min(column, INT32_MAX - zoneWidth) + zoneWidth) / zoneWidth * zoneWidth + 1;
  if (width != 0 && width < next) next = 1;
  if (column + 1 >= next) return writeBytes(file, "\r\n", 2);
  static const char spaces[zoneWidth + 1] = "              ";
  return writeBytes(file, spaces, next - column - 1);
}

int32_t writeText(int32_t fileNumber, const std::string& text, int32_t mask) {
  FileHandle* file = printTarget(fileNumber);
  if (!file) return setRuntimeError(errBadCall);
  int32_t code = 0;
  // A text beyond the write size is written in pieces.
  for (size_t done = 0; code == 0 && done < text.size();) {
    auto piece = static_cast<int32_t>(std::min<size_t>(text.size() - done, INT32_MAX));
    code = writeBytes(*file, text.data() + done, piece);
    done += static_cast<size_t>(piece);
  }
  if (code == 0 && wantsNewline(mask))
    code = writeBytes(*file, "\r\n", 2);
  else if (code == 0 && (mask & printNextZone))
    code = nextPrintZone(*file);
  return setRuntimeError(code);
}

int32_t writeInt(int32_t fileNumber, int32_t value, int32_t mask) {
  static const char* const formats[4] = {"% d", "% d ", "% d\r\n", "% d \r\n"};
  return writeNumber(fileNumber, mask, formats, value);
}

int32_t writeUInt(int32_t fileNumber, uint32_t value, int32_t mask) {
  static const char* const formats[4] = {"%u", "%u ", "%u\r\n", "%u \r\n"};
  return writeNumber(fileNumber, mask, formats, value);
}

}  // namespace krgfx
