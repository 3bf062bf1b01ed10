// A program that ends while its screen is open on a window driver, with a
// file written but not closed. Run by the program-end tests:
//   end_with_window FILE return|exit|locked
// "return" returns 0 from main, "exit" calls exit(3), "locked" calls exit(4)
// while it holds the screen lock. 125 means the screen did not open.
#include <cstdlib>
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "runtime/files.h"

using namespace krgfx;

int main(int argc, char** argv) {
  if (argc != 3) return 126;
  if (openScreen(320, 200, 32, 1, 0, 0) != 0) return 125;
  if (openFile(argv[1], modeWrite, accessDefault, 0, 1, 0) != 0) return 124;
  // Small enough to stay in the stream's buffer until the file is closed.
  static const char bytes[] = "written before the end";
  FileHandle& file = *fileHandleOf(1);
  if (file.hooks->write(file, bytes, sizeof bytes - 1) != 0) return 123;
  if (std::strcmp(argv[2], "exit") == 0) std::exit(3);
  if (std::strcmp(argv[2], "locked") == 0) {
    lockScreen();
    std::exit(4);
  }
  return 0;
}
