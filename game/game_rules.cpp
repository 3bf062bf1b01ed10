#include "game/game_rules.h"

#include <cmath>

namespace krgfx {

int32_t spriteFrameFor(int32_t score, int32_t buttons, double (*clock)()) {
  if (score < winningScore) return buttons != 0 ? 2 : 1;
  if (score == winningScore) return 5;
  // The parity of floor(seconds x 10), taken without an integer conversion
  // that a huge clock value would overflow.
  double tenths = std::floor(clock() * 10.0);
  return std::fmod(tenths, 2.0) == 0.0 ? 3 : 4;
}

const char* scoreMessage(int32_t score) {
  if (score < winningScore) return "Musisz uzbierac dokladnie 100!";
  if (score == winningScore) return "Dosc juz, jestes wygrywem!";
  return "Przesadziles, co za duzo to niezdrowo! Idziesz do psychiatry.";
}

int32_t scoreAfterFrame(int32_t score, int32_t buttons) {
  bool pressed = score < winningScore ? buttons != 0 : buttons > 0;
  if (pressed) ++score;
  return score > highestScore ? 0 : score;
}

}  // namespace krgfx
