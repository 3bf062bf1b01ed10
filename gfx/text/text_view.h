// The rows of the text view, shared by printing and the print engine.
#pragma once

#include <cstdint>

namespace krgfx {

// First and last row of the text view, 0-based; -1 while not yet determined.
extern int32_t viewTop;
extern int32_t viewBottom;

// Sets both rows to -1; done when a mode closes.
void forgetTextView();
// Fills in rows still -1 from the grid size (24 as the last row without one).
void determineViewRows();

}  // namespace krgfx
