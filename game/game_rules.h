// The game's rules for one frame: which sprite frame the score shows, the
// message under it, and how the score moves on.
#pragma once

#include <cstdint>

namespace krgfx {

constexpr int32_t winningScore = 100;
constexpr int32_t highestScore = 200;  // one more starts the game over

// The sprite frame for this score: 1 collecting, 2 collecting with a button
// down, 5 won, and above 100 frames 3 and 4 taking turns every tenth of a
// second of the clock (read only then).
int32_t spriteFrameFor(int32_t score, int32_t buttons, double (*clock)());
// The line under the score.
const char* scoreMessage(int32_t score);
// The score after a frame: one more while a button is down (below 100 any
// non-zero buttons value counts, from 100 on only a positive one), and back
// to 0 past 200.
int32_t scoreAfterFrame(int32_t score, int32_t buttons);

}  // namespace krgfx
