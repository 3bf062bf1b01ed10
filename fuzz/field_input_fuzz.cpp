// Opens arbitrary bytes as a text file and reads them as a sequence of number
// and text fields. The first eight bytes choose the sequence (one bit per
// field, 1 for a number), the rest is the file. The same sequence is read a
// second time from the input line instead of the file; both must agree.
//
// The file lives in an anonymous memory file reached through /proc, so no
// run leaves anything behind on disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include <krgfx/runtime.h>
#include "runtime/field_input.h"
#include "runtime/runtime_contexts.h"
#include "runtime/runtime_state.h"

using namespace krgfx;

namespace {

using Field = std::variant<int32_t, std::string>;

void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "field input fuzz: %s\n", what);
  std::abort();
}

int memoryFile() {
  static int fd = memfd_create("field_input_fuzz", 0);
  check(fd >= 0, "no memory file");
  return fd;
}

void writeMemoryFile(const uint8_t* bytes, size_t size) {
  int fd = memoryFile();
  check(ftruncate(fd, 0) == 0, "truncate failed");
  size_t done = 0;
  while (done < size) {
    ssize_t written = pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
    check(written > 0, "write failed");
    done += static_cast<size_t>(written);
  }
}

Field readOne(bool number, int32_t fileNumber) {
  if (fileNumber) check(selectInputFile(fileNumber) == 0, "select refused");
  if (number) {
    int32_t value = 0x5A5A5A5A;
    check(readIntField(&value) == 0, "readIntField failed");
    return value;
  }
  std::string text = "stale";
  check(readTextField(text, -1, 0) == 0, "readTextField failed");
  check(text.size() <= static_cast<size_t>(textFieldLength), "text too long");
  check(text.find('\0') == std::string::npos, "zero byte in text");
  return text;
}

// The planned reads, then texts until the input is used up (each non-empty
// field takes at least one byte), then one of each at the end of input.
std::vector<Field> readAll(uint64_t plan, size_t inputSize, int32_t fileNumber) {
  std::vector<Field> fields;
  for (int bit = 0; bit < 64; ++bit) fields.push_back(readOne((plan >> bit) & 1, fileNumber));
  for (size_t i = 0; i <= inputSize; ++i) fields.push_back(readOne(false, fileNumber));
  Field lastNumber = readOne(true, fileNumber);
  Field lastText = readOne(false, fileNumber);
  check(std::get<int32_t>(lastNumber) == 0, "number past the end");
  check(std::get<std::string>(lastText).empty(), "text past the end");
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint64_t plan = 0;
  size_t planBytes = size < 8 ? size : 8;
  std::memcpy(&plan, data, planBytes);
  const uint8_t* bytes = data + planBytes;
  size_t length = size - planBytes;

  writeMemoryFile(bytes, length);
  std::string name = "/proc/self/fd/" + std::to_string(memoryFile());
  int32_t fileNumber = freeFileNumber();
  int32_t mode = plan >> 63 ? 0 : 2;  // read as text, or as bytes
  check(openFile(name, mode, 1, 0, fileNumber, 0) == 0, "open failed");
  std::vector<Field> fromFile = readAll(plan, length, fileNumber);
  check(closeFile(fileNumber) == 0, "close failed");

  InputState& input = runtimeContext<InputState>(contextInput);
  input.file = nullptr;
  input.line.assign(reinterpret_cast<const char*>(bytes), length);
  input.linePos = 0;
  std::vector<Field> fromLine = readAll(plan, length, 0);
  check(fromFile == fromLine, "file and line disagree");
  return 0;
}
