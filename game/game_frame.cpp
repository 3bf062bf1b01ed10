#include "game/game_frame.h"

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/text.h>
#include "game/game_rules.h"

namespace krgfx {

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

}  // namespace krgfx
