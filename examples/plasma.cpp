// A palette plasma: the picture is drawn once, at 320 x 200 with 256
// colours, and then only the palette turns. Any key ends it.
#include <cmath>
#include <cstdint>

#include <krgfx/draw.h>
#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include "example_options.h"

using namespace krgfx;

namespace {

constexpr int32_t width = 320, height = 200;

// Each pixel's palette index: a sum of waves over the screen.
void drawPlasma() {
  int32_t pitch;
  lockScreen();
  uint8_t* pixels = imagePixels(nullptr, nullptr, nullptr, &pitch, nullptr);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      double value = std::sin(x / 16.0) + std::sin(y / 8.0) + std::sin((x + y) / 16.0) +
                     std::sin(std::sqrt(double(x * x + y * y)) / 8.0);
      pixels[y * pitch + x] = static_cast<uint8_t>((value + 4) * 255 / 8);
    }
  unlockScreen(-1, -1);
}

// A smooth cycle of colours, moved on by `phase` entries.
void turnPalette(int32_t phase) {
  uint32_t colours[256];
  for (int32_t i = 0; i < 256; ++i) {
    double angle = (i + phase) * 3.14159265 / 128;
    auto channel = [angle](double shift) {
      return static_cast<uint32_t>(127.5 + 127.5 * std::sin(angle + shift));
    };
    colours[i] = channel(0) << 16 | channel(2.1) << 8 | channel(4.2);
  }
  setPalette(colours, 0, 256);
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  ExampleOptions options = readExampleOptions(argc, argv);
  if (openScreen(width, height, 8, 1, 0, 0) != 0) runtimeEnd(1);
  setWindowTitle("Plasma - any key ends");
  drawPlasma();
  for (int32_t frame = 0; options.frames == 0 || frame < options.frames; ++frame) {
    if (pollKeyCode() != 0) break;
    turnPalette(frame * 2);
    waitFrame(60);
  }
  runtimeEnd(0);
}
