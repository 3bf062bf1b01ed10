// The graphics screen's text routines: the text slots of the console hooks
// and the print region routines that draw glyphs and scroll the text view.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/text/print_engine.h"

namespace krgfx {

namespace screenText {

// Cursor and grid (1-based results).
int32_t placeCursor(int32_t row, int32_t col, int32_t cursor);
int32_t cursorColumn();
int32_t cursorRow();
void cursorPosition(int32_t* col, int32_t* row);
void gridSize(int32_t* cols, int32_t* rows);

// Output.
void outputBytes(const uint8_t* bytes, int32_t length, int32_t mask);
void outputWide(const char16_t* chars, int32_t length, int32_t mask);
void clearScreen(int32_t mode);

// Grid, colours and cells.
int32_t setGrid(int32_t cols, int32_t rows);
int32_t setColours(uint32_t foreground, uint32_t background, int32_t flags);
int32_t readCell(int32_t col, int32_t row, int32_t colourFlag);

// Line input: the on-screen editor read by waitKey, and the runtime's own
// editor behind the prompts.
int32_t readLine(char* buffer, int32_t maxLength);
void promptLine(std::string& destination, const std::string* prompt, int32_t askMark);
void promptLineWide(std::u16string& destination, const std::u16string* prompt, int32_t askMark);

// Pages.
int32_t setPages(int32_t work, int32_t visible);
int32_t copyPage(int32_t source, int32_t destination);

// Print region routines of the graphics screen.
int32_t drawGlyphs(PrintRegion& region, const uint8_t* bytes, int32_t count);
void scrollRegion(PrintRegion& region, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  int32_t lines);

}  // namespace screenText

// outputBytes mask bit: run even for an empty text, to carry out a pending wrap.
constexpr int32_t outputFlushWrap = 0x8;

}  // namespace krgfx
