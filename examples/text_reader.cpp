// Reads a text file field by field and shows it as a table: first a record
// count, then per record a name and two numbers, separated by commas, line
// ends or blanks ("planets.txt" is one). Usage: text_reader [file]. On the
// graphics screen a key ends it; without a display it prints to the console.
#include <cstdio>
#include <string>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>

using namespace krgfx;

namespace {

constexpr int32_t readAsText = 2;  // openFile's mode for reading a text file
constexpr int32_t recordLimit = 1000;

// Each read takes the next field from where the last one stopped.
int32_t readNumber(int32_t fileNumber) {
  int32_t value = 0;
  selectInputFile(fileNumber);
  readIntField(&value);
  return value;
}

std::string readText(int32_t fileNumber) {
  std::string text;
  selectInputFile(fileNumber);
  readTextField(text, -1, 0);
  return text;
}

void showRecords(int32_t fileNumber) {
  int32_t count = readNumber(fileNumber);
  if (count < 0 || count > recordLimit) count = 0;
  writeInt(0, count, 0);
  writeText(0, " records", printNewline);
  for (int32_t record = 1; record <= count; ++record) {
    std::string name = readText(fileNumber);
    int32_t first = readNumber(fileNumber);
    int32_t second = readNumber(fileNumber);
    char line[160];
    std::snprintf(line, sizeof line, "%3d  %-24.24s %8d %8d", record, name.c_str(), first, second);
    writeText(0, line, printNewline);
  }
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  std::string fileName = argc > 1 ? argv[1] : "planets.txt";
  bool onScreen = openScreen(640, 480, 32, 1, 0, 0) == 0;
  if (onScreen) clearScreen(notGiven);

  int32_t fileNumber = freeFileNumber();
  if (openFile(fileName, readAsText, 0, 0, fileNumber, 0) != 0) {
    writeText(0, "text_reader: cannot open " + fileName, printNewline);
    if (onScreen) sleepMs(-1);
    runtimeEnd(1);
  }
  writeText(0, fileName + ": ", 0);
  showRecords(fileNumber);
  closeFile(fileNumber);

  if (onScreen) {
    writeText(0, "Any key ends.", printNewline);
    sleepMs(-1);
  }
  runtimeEnd(0);
}
