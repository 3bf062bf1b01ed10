// Painting with the mouse: hold the left button to draw, click a colour in
// the bar at the top to take it, the right button fills an area. "c" clears,
// "s" saves the picture to paint.bmp, Escape ends.
//
// With "--frames N" (and KRGFX=null for no window) it paints a fixed stroke
// instead of following the mouse, saves it (to "--save NAME", else
// paint.bmp), loads the file back and ends with status 0 only when the file
// holds exactly what the screen shows.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include <krgfx/draw.h>
#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "example_options.h"

using namespace krgfx;

namespace {

constexpr int32_t width = 640, height = 480, barHeight = 24, swatchWidth = 40;
constexpr uint32_t swatches[] = {0xFFFFFFFF, 0xFFFF4040, 0xFF40C040, 0xFF4060FF,
                                 0xFFFFD020, 0xFFFF40FF, 0xFF40FFFF, 0xFF000000};
constexpr int32_t swatchCount = sizeof swatches / sizeof swatches[0];

void drawColourBar() {
  for (int32_t i = 0; i < swatchCount; ++i)
    drawLine(nullptr, i * swatchWidth, 0, (i + 1) * swatchWidth - 2, barHeight - 2, swatches[i],
             shapeFilledBox);
  drawLine(nullptr, 0, barHeight - 1, width - 1, barHeight - 1, 0xFF808080);
}

// Writes the screen to a file: BMP, or PNG for a name ending in ".png".
bool savePicture(const std::string& name) { return saveImageFile(name, nullptr, nullptr) == 0; }

// Loads the saved file back and compares it with the screen, pixel by pixel.
bool savedFileShowsTheScreen(const std::string& name) {
  ImageBuffer* copy = createImage(width, height, 0, 32, 0);
  bool same = loadImageFile(name, copy, nullptr) == 0;
  int32_t screenPitch, copyPitch;
  const uint8_t* shown = imagePixels(nullptr, nullptr, nullptr, &screenPitch, nullptr);
  const uint8_t* saved = imagePixels(copy, nullptr, nullptr, &copyPitch, nullptr);
  for (int32_t y = 0; same && y < height; ++y)
    for (int32_t x = 0; same && x < width; ++x) {
      uint32_t a, b;
      std::memcpy(&a, shown + y * screenPitch + 4 * x, 4);
      std::memcpy(&b, saved + y * copyPitch + 4 * x, 4);
      same = (a & 0xFFFFFF) == (b & 0xFFFFFF);
    }
  destroyImage(copy);
  return same;
}

struct Brush {
  uint32_t colour = swatches[0];
  bool down = false;
  int32_t x = 0, y = 0;
};

// Clicks: a press in the bar takes a colour, on the canvas starts a stroke;
// the right button fills.
void takeClicks(Brush& brush) {
  int32_t x, y, button;
  while (int32_t kind = pollMouseClick(&x, &y, &button)) {
    if (kind == mouseClickRelease) {
      if (button == 1) brush.down = false;
    } else if (y < barHeight) {
      if (x / swatchWidth < swatchCount) brush.colour = swatches[x / swatchWidth];
    } else if (button == 1) {
      brush = {brush.colour, true, x, y};
      drawPixel(nullptr, x, y, brush.colour);
    } else if (button == 2) {
      floodFill(nullptr, x, y, brush.colour, 0, 0, fillOverColour);
    }
  }
}

// While the button is held, a line from the last place to the pointer.
void followPointer(Brush& brush) {
  int32_t x, y, buttons;
  if (!brush.down || readMouse(&x, &y, nullptr, &buttons, nullptr) != 0) return;
  drawLine(nullptr, brush.x, brush.y, x, std::max(y, barHeight), brush.colour);
  brush.x = x, brush.y = std::max(y, barHeight);
}

// The fixed stroke of a run without the mouse: a zigzag, then a filled ring.
void paintStroke(int32_t frame) {
  auto x = [](int32_t step) { return 40.0f + step * 12; };
  auto y = [](int32_t step) { return step % 2 ? 120.0f : 300.0f; };
  if (frame > 0) drawLine(nullptr, x(frame - 1), y(frame - 1), x(frame), y(frame), swatches[1]);
  if (frame == 10) {
    drawCircle(nullptr, 500, 300, 60, swatches[3]);
    floodFill(nullptr, 500, 300, swatches[4], swatches[3]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  ExampleOptions options = readExampleOptions(argc, argv);
  std::string saveName = options.saveName.empty() ? "paint.bmp" : options.saveName;
  if (openScreen(width, height, 32, 1, 0, 0) != 0) runtimeEnd(1);
  setWindowTitle("Paint - left: draw, right: fill, c: clear, s: save, Escape: end");
  drawColourBar();
  Brush brush;
  for (int32_t frame = 0; options.frames == 0 || frame < options.frames; ++frame) {
    int32_t key = pollKeyCode();
    if (key == keyEscape || key == windowCloseKey) break;
    if (key == 'c') {
      clearScreen(0);
      drawColourBar();
    }
    if (key == 's') savePicture(saveName);
    if (options.frames) {
      paintStroke(frame);
    } else {
      takeClicks(brush);
      followPointer(brush);
    }
    waitFrame(100);
  }
  int32_t status = 0;
  if (options.frames) status = savePicture(saveName) && savedFileShowsTheScreen(saveName) ? 0 : 2;
  runtimeEnd(status);
}
