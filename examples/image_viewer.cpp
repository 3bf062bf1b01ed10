// Shows a BMP or PNG file in a window of the picture's size: imageFileInfo
// reads the size before the screen opens, loadImage makes the image and
// drawImageScaled fits a picture larger than 1280x960 into that. Any key, or
// the window's close button, ends it; so does "--frames N" after N frames.
//   image_viewer [--frames N] picture.png
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>

using namespace krgfx;

namespace {

constexpr int32_t largestWidth = 1280, largestHeight = 960;

[[noreturn]] void fail(const std::string& message) {
  writeText(0, "image_viewer: " + message, printNewline);
  runtimeEnd(1);
}

// The picture's size shrunk, keeping its shape, until it fits the largest.
void fitSize(int32_t& width, int32_t& height) {
  double scale = std::min({1.0, double{largestWidth} / width, double{largestHeight} / height});
  width = std::max(1, static_cast<int32_t>(width * scale));
  height = std::max(1, static_cast<int32_t>(height * scale));
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  int32_t frames = -1;  // until a key
  std::string name;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
      frames = std::atoi(argv[++i]);
    else
      name = argv[i];
  }
  if (name.empty()) fail("usage: image_viewer [--frames N] picture.png");

  int32_t width, height, depth;
  if (imageFileInfo(name, &width, &height, &depth) != 0) fail(name + ": no picture to show");
  writeText(0,
            name + ": " + std::to_string(width) + " x " + std::to_string(height) + ", " +
                std::to_string(depth) + " bits",
            printNewline);
  int32_t shownWidth = width, shownHeight = height;
  fitSize(shownWidth, shownHeight);
  if (openScreen(shownWidth, shownHeight, 32, 1, 0, 0) != 0)
    fail("no window could open (set DISPLAY, or KRGFX=null)");
  ImageBuffer* picture = loadImage(name, 32);
  if (!picture) fail(name + ": the picture could not be loaded");

  lockScreen();
  drawImageScaled(nullptr, 0, 0, shownWidth, shownHeight, picture, putPlain);
  unlockScreen(-1, -1);
  for (int32_t frame = 0; frame != frames && pollKey().empty(); ++frame) sleepMs(20, 1);
  destroyImage(picture);
  runtimeEnd(0);
}
