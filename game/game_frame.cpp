#include "game/game_frame.h"

#include "game/game_rules.h"
#include "gfx/gfx.h"
#include "gfx/text/text.h"
#include "input/input.h"

void drawGameFrame(const SpriteSet& sprites, int32_t& score, int32_t pointerX, int32_t pointerY,
                   int32_t pointerButtons) {
  lockScreen();
  clearScreen(notGiven);
  placeCursor(2, 2, -1, 0, 0);
  writeText(0, "Zdobyles", 0);
  writeInt(0, score, 0);
  writeText(0, " punktow!", printNewline);
  placeCursor(3, 2, -1, 0, 0);
  writeText(0, scoreMessage(score), printNewline);
  sprites.draw(pointerX, pointerY, spriteFrameFor(score, pointerButtons, clockSeconds));
  score = scoreAfterFrame(score, pointerButtons);
  unlockScreen(-1, -1);
}
