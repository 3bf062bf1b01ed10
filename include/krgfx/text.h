// Public interface of text on the screen: clearing, cursor placing, printing
// and the text view. Rows and columns count from 1.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

struct FileHandle;

// clearScreen modes: 0 whole screen, 1 graphics view, 2 text view, notGiven the
// default choice.
void clearScreen(int32_t mode);
int32_t placeCursor(int32_t row, int32_t col, int32_t cursor, int32_t start, int32_t stop);

// Mask bits of the print operations.
constexpr int32_t printNewline = 0x1;
constexpr int32_t printNextZone = 0x2;
constexpr int32_t printNewlineToo = 0x4;
constexpr int32_t printSpaceAfter = 0x10;

// The print operations write to file number 0 (the screen, or the text
// console while none is open) or to an open file (1 to 255, or -1). After
// the text the mask adds a blank (printSpaceAfter, numbers only) and a line
// end "\r\n" (printNewline or printNewlineToo); printNextZone then moves to
// the next print zone, which writeText does only without a line end.
// 0, or errBadCall for a file number that names no open file, or the
// file's write error.
// writeText prints the bytes as they are (code page 437 on the screen).
int32_t writeText(int32_t fileNumber, const std::string& text, int32_t mask);
// writeInt and writeUInt print the number in decimal, a signed value with a
// leading blank in place of the sign when it is not negative.
int32_t writeInt(int32_t fileNumber, int32_t value, int32_t mask);
int32_t writeUInt(int32_t fileNumber, uint32_t value, int32_t mask);
// Moves the handle's print position to the next 14-column print zone, or to
// a new line when the zone would pass the line width.
int32_t nextPrintZone(FileHandle& file);
int32_t setTextView(int32_t top, int32_t bottom, int32_t moveCursor);

}  // namespace krgfx
