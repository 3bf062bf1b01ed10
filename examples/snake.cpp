// Snake: the arrow keys steer, each apple makes the snake longer, running
// into a wall or into itself ends the round. Escape ends the game.
//
// With "--frames N" (and KRGFX=null for no window) the snake steers itself
// towards the apples for N frames.
#include <cstdint>
#include <cstdlib>
#include <deque>

#include <krgfx/draw.h>
#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "example_options.h"

using namespace krgfx;

namespace {

constexpr int32_t cell = 16, columns = 40, rows = 28;  // a 640 x 448 field below the score line
constexpr int32_t top = 32;

struct Point {
  int32_t x, y;
  bool operator==(const Point&) const = default;
};

struct Game {
  std::deque<Point> body{{20, 14}, {19, 14}, {18, 14}};  // head first
  Point heading{1, 0};
  Point apple{30, 14};
  int32_t score = 0;
};

void fillCell(Point at, uint32_t colour) {
  float x = static_cast<float>(at.x * cell), y = static_cast<float>(top + at.y * cell);
  drawLine(nullptr, x + 1, y + 1, x + cell - 2, y + cell - 2, colour, shapeFilledBox);
}

bool onSnake(const Game& game, Point at) {
  for (const Point& part : game.body)
    if (part == at) return true;
  return false;
}

void placeApple(Game& game) {
  do game.apple = {std::rand() % columns, std::rand() % rows};
  while (onSnake(game, game.apple));
  fillCell(game.apple, 0xFFFF3030);
}

void drawField(const Game& game) {
  clearScreen(0);
  drawLine(nullptr, 0, top - 1, columns * cell - 1, top + rows * cell, 0xFF808080, shapeBox);
  for (const Point& part : game.body) fillCell(part, 0xFF40D040);
  fillCell(game.apple, 0xFFFF3030);
}

void showScore(const Game& game) {
  placeCursor(2, 2, -1, 0, 0);
  writeText(0, "Apples:", 0);
  writeInt(0, game.score, 0);
}

// The arrow keys turn the snake, never straight back.
void steer(Game& game, int32_t key) {
  Point turn = key == keyUp      ? Point{0, -1}
               : key == keyDown  ? Point{0, 1}
               : key == keyLeft  ? Point{-1, 0}
               : key == keyRight ? Point{1, 0}
                                 : game.heading;
  if (turn.x != -game.heading.x || turn.y != -game.heading.y) game.heading = turn;
}

// Without a player: towards the apple, turning away from walls and itself.
void steerItself(Game& game) {
  Point head = game.body.front();
  Point wanted = head.x != game.apple.x ? Point{head.x < game.apple.x ? 1 : -1, 0}
                                        : Point{0, head.y < game.apple.y ? 1 : -1};
  for (Point turn : {wanted, game.heading, Point{0, 1}, Point{0, -1}, Point{1, 0}, Point{-1, 0}}) {
    Point next{head.x + turn.x, head.y + turn.y};
    bool free = next.x >= 0 && next.x < columns && next.y >= 0 && next.y < rows &&
                !onSnake(game, next) && (turn.x != -game.heading.x || turn.y != -game.heading.y);
    if (free) {
      game.heading = turn;
      return;
    }
  }
}

// One step; false when the snake hit something.
bool advance(Game& game) {
  Point head = game.body.front();
  Point next{head.x + game.heading.x, head.y + game.heading.y};
  if (next.x < 0 || next.x >= columns || next.y < 0 || next.y >= rows || onSnake(game, next))
    return false;
  game.body.push_front(next);
  fillCell(next, 0xFF40D040);
  if (next == game.apple) {
    ++game.score;
    placeApple(game);
    showScore(game);
  } else {
    fillCell(game.body.back(), 0xFF000000);
    game.body.pop_back();
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  ExampleOptions options = readExampleOptions(argc, argv);
  if (openScreen(columns * cell, top + rows * cell + 8, 32, 1, 0, 0) != 0) runtimeEnd(1);
  setWindowTitle("Snake - arrow keys steer, Escape ends");
  Game game;
  drawField(game);
  showScore(game);
  for (int32_t frame = 0; options.frames == 0 || frame < options.frames; ++frame) {
    int32_t key = pollKeyCode();
    if (key == keyEscape || key == windowCloseKey) break;
    if (options.frames)
      steerItself(game);
    else
      steer(game, key);
    if (!advance(game)) {
      game = Game{};
      drawField(game);
      showScore(game);
    }
    waitFrame(options.frames ? 1000 : 10);
  }
  runtimeEnd(0);
}
