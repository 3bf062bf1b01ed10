// The graphics screen's text slots of the console hooks.
#include "gfx/screen_hooks.h"
#include "gfx/text/screen_text.h"

namespace krgfx {

void installTextHooks(ConsoleHooks& hooks) {
  hooks.clearScreen = screenText::clearScreen;
  hooks.setColours = screenText::setColours;
  hooks.placeCursor = screenText::placeCursor;
  hooks.setGrid = screenText::setGrid;
  hooks.cursorColumn = screenText::cursorColumn;
  hooks.cursorRow = screenText::cursorRow;
  hooks.cursorPosition = screenText::cursorPosition;
  hooks.gridSize = screenText::gridSize;
  hooks.outputBytes = screenText::outputBytes;
  hooks.outputWide = screenText::outputWide;
  hooks.readLine = screenText::readLine;
  hooks.promptLine = screenText::promptLine;
  hooks.promptLineWide = screenText::promptLineWide;
  hooks.readCell = screenText::readCell;
  hooks.copyPage = screenText::copyPage;
  hooks.setPages = screenText::setPages;
}

}  // namespace krgfx
