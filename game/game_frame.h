// Drawing one frame of the game.
#pragma once

#include <cstdint>

#include "game/sprite_set.h"

namespace krgfx {

// Under the screen lock: clears the screen, writes the score and its message,
// draws the sprite frame for the score at the pointer and moves the score on;
// unlocking marks every row for the presenter.
void drawGameFrame(const SpriteSet& sprites, int32_t& score, int32_t pointerX, int32_t pointerY,
                   int32_t pointerButtons);

}  // namespace krgfx
