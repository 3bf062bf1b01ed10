// The field reader: splitting the selected input into number and text fields
// at commas, line ends and (for numbers) blanks, with double quotes.
#include <cstring>

#include <krgfx/runtime.h>
#include "runtime/field_input.h"
#include "runtime/files.h"
#include "runtime/runtime_contexts.h"

namespace krgfx {

namespace {

constexpr int endOfInput = -1;

bool readsFromFile(const InputState& input) { return input.file && input.file->hooks; }

int nextByte(InputState& input) {
  if (readsFromFile(input)) {
    uint8_t byte;
    int32_t length = 1;
    if (readBytes(*input.file, &byte, &length) != 0 || length == 0) return endOfInput;
    return byte;
  }
  if (input.linePos >= input.line.size()) return endOfInput;
  return static_cast<unsigned char>(input.line[input.linePos++]);
}

void putBack(InputState& input, int byte) {
  if (readsFromFile(input)) {
    uint8_t pushed = static_cast<uint8_t>(byte);
    pushBack(*input.file, &pushed, 1);
  } else if (input.linePos > 0) {
    --input.linePos;
  }
}

bool isBlank(int byte) { return byte == ' ' || byte == '\t'; }

// A carriage return ends the line, together with a line feed right after it.
void finishCarriageReturn(InputState& input) {
  int next = nextByte(input);
  if (next != '\n' && next != endOfInput) putBack(input, next);
}

// After a field stopped at `stop`: blanks are skipped, then a comma or a line
// end is taken as the field's end; anything else begins the next field.
void finishField(InputState& input, int stop) {
  while (isBlank(stop)) stop = nextByte(input);
  if (stop == '\r') {
    finishCarriageReturn(input);
  } else if (stop != '\n' && stop != ',' && stop != endOfInput) {
    putBack(input, stop);
  }
}

}  // namespace

int32_t readField(uint8_t* buffer, int32_t maxLength, bool textMode, bool* looksReal) {
  InputState& input = runtimeContext<InputState>(contextInput);
  *looksReal = false;
  if (maxLength <= 0) return 0;
  int byte = nextByte(input);
  while (isBlank(byte)) byte = nextByte(input);
  if (byte == endOfInput) return 0;

  bool inQuotes = false;
  bool sawAmpersand = false;
  int32_t length = 0;
  for (;;) {
    switch (byte) {
      case ' ':
      case '\t':
        if (!inQuotes && !textMode) {
          finishField(input, byte);
          return length;
        }
        break;
      case '\n':
        return length;
      case '\r':
        finishCarriageReturn(input);
        return length;
      case '"':
        if (inQuotes && textMode) {
          finishField(input, nextByte(input));
          return length;
        }
        if (inQuotes || length == 0) {  // the quote opens or closes and is dropped
          inQuotes = !inQuotes;
          byte = nextByte(input);
          if (byte == endOfInput) return length;
          continue;
        }
        break;
      case ',':
        if (!inQuotes) return length;
        break;
      case '&':
        sawAmpersand = true;
        break;
      case 'D':
      case 'd':
        // A 'D' exponent of a number is kept as 'E'.
        if (!textMode && !sawAmpersand) byte = byte == 'D' ? 'E' : 'e';
        if (!sawAmpersand) *looksReal = true;
        break;
      case '.':
      case 'E':
      case 'e':
        if (!sawAmpersand) *looksReal = true;
        break;
      default:
        break;
    }
    buffer[length++] = static_cast<uint8_t>(byte);
    byte = nextByte(input);
    if (byte == endOfInput || length == maxLength) {
      finishField(input, byte);
      return length;
    }
  }
}

int32_t selectInputFile(int32_t fileNumber) {
  FileHandle* file = fileHandleOf(fileNumber);
  if (!file || !file->hooks) return setRuntimeError(errBadCall);
  InputState& input = runtimeContext<InputState>(contextInput);
  input.file = file;
  std::string().swap(input.line);
  input.linePos = 0;
  return setRuntimeError(0);
}

int32_t readIntField(int32_t* out) {
  if (!out) return setRuntimeError(errBadCall);
  uint8_t field[numberFieldLength];
  bool looksReal;
  int32_t length = readField(field, numberFieldLength, false, &looksReal);
  *out = numberFieldValue(field, length, looksReal);
  return setRuntimeError(0);
}

// A growable target (size -1) takes the whole text up to its first zero
// byte; a target of a fixed size takes at most that many bytes.
int32_t readTextField(std::string& target, int32_t targetSize, int32_t /*fill*/) {
  uint8_t field[textFieldLength];
  bool looksReal;
  int32_t length = readField(field, textFieldLength, true, &looksReal);
  const void* zero = std::memchr(field, 0, static_cast<size_t>(length));
  size_t textLength = zero ? static_cast<const uint8_t*>(zero) - field
                           : static_cast<size_t>(length);
  if (targetSize >= 0 && textLength > static_cast<size_t>(targetSize)) textLength = targetSize;
  if (textLength == 0) {
    std::string().swap(target);
  } else {
    target.assign(reinterpret_cast<const char*>(field), textLength);
  }
  return setRuntimeError(0);
}

}  // namespace krgfx
