// A framed square with a see-through middle bounces over a line of text:
// images, a transparent colour, text and the frame loop. Any key, or the
// window's close button, ends it; so do 500 frames (10 seconds).
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>

using namespace krgfx;

namespace {

constexpr int32_t screenWidth = 640, screenHeight = 480;
constexpr int32_t squareSize = 96, holeSize = 48;
constexpr int32_t frameCount = 500;

// A row combiner of our own: copies every pixel, transparent ones too.
void copyRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
              int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  for (int32_t row = 0; row < height; ++row) {
    std::memcpy(destination + row * destinationPitch, source + row * sourcePitch,
                static_cast<size_t>(width) * 4);
  }
}

// An orange square whose middle is the transparent colour.
ImageBuffer* makeFramedSquare() {
  ImageBuffer* square = createImage(squareSize, squareSize, 0xFF8020, 32, 0);
  ImageBuffer* hole = createImage(holeSize, holeSize, 0, 32, colourNotGiven);
  float offset = (squareSize - holeSize) / 2.0f;
  drawImage(square, offset, offset, hole, notGiven, notGiven, notGiven, notGiven, 0, 0, copyRows,
            -1, nullptr, nullptr);
  destroyImage(hole);
  return square;
}

void drawFrame(const ImageBuffer* square, int32_t x, int32_t y, int32_t frame) {
  lockScreen();
  clearScreen(notGiven);
  for (int32_t row = 10; row <= 50; row += 4) {
    placeCursor(row, 4, -1, 0, 0);
    writeText(0, "The middle of the square lets this text through.", 0);
  }
  placeCursor(2, 2, -1, 0, 0);
  writeText(0, "Frame", 0);
  writeInt(0, frame, 0);
  writeText(0, " - any key ends", 0);
  drawImage(nullptr, static_cast<float>(x), static_cast<float>(y), square, notGiven, notGiven,
            notGiven, notGiven, 0, 0, transparentCopy, -1, nullptr, nullptr);
  unlockScreen(-1, -1);  // every row changed
}

// Moves one coordinate by its step and turns the step round at the edges.
void bounce(int32_t& position, int32_t& step, int32_t limit) {
  position += step;
  if (position < 0 || position > limit) {
    step = -step;
    position += 2 * step;
  }
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  if (openScreen(screenWidth, screenHeight, 32, 1, 0, 0) != 0) {
    // No display: the text goes to the console instead. KRGFX=null opens the
    // screen without a window.
    writeText(0, "moving_image: no window could open (set DISPLAY, or KRGFX=null)", printNewline);
    runtimeEnd(1);
  }
  ImageBuffer* square = makeFramedSquare();
  int32_t x = 0, y = 40, stepX = 4, stepY = 3;
  for (int32_t frame = 1; frame <= frameCount && pollKey().empty(); ++frame) {
    drawFrame(square, x, y, frame);
    bounce(x, stepX, screenWidth - squareSize);
    bounce(y, stepY, screenHeight - squareSize);
    sleepMs(20, 1);
  }
  destroyImage(square);
  runtimeEnd(0);
}
