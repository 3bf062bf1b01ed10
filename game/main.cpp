// The game: collect exactly 100 points by holding a mouse button, one point
// per frame of about 50 ms; past 200 the score starts again from 0.
#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "game/game_frame.h"
#include "game/sprite_set.h"

using namespace krgfx;

namespace {

// The frame loop until a key, then the wait for one more key. The sprite
// set is destroyed on return.
void play() {
  SpriteSet sprites;
  sprites.load("2.spr");
  placeMouse(320, 240, 0, -1);  // pointer hidden: the sprite is the cursor

  int32_t score = 0;
  int32_t pointerX = 0, pointerY = 0, pointerWheel = 0, pointerButtons = 0;
  do {
    int32_t clip = 0;
    readMouse(&pointerX, &pointerY, &pointerWheel, &pointerButtons, &clip);
    drawGameFrame(sprites, score, pointerX, pointerY, pointerButtons);
    sleepMs(50, 1);
  } while (pollKey().empty());

  sprites.releaseImages();
  sleepMs(-1);  // the last frame stays until the next key
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  clearScreen(notGiven);
  openScreen(800, 600, 32, 1, 0, 0);
  play();
  runtimeEnd(0);
}
