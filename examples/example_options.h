// The options the drawing examples share: "--frames N" ends the program
// after N frames (with KRGFX=null the examples then run without a window,
// as the tests run them), "--save NAME" names the file a program saves.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

struct ExampleOptions {
  int frames = 0;  // 0: until a key ends it
  std::string saveName;
};

inline ExampleOptions readExampleOptions(int argc, char** argv) {
  ExampleOptions options;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--frames") == 0) options.frames = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--save") == 0) options.saveName = argv[i + 1];
  }
  return options;
}
