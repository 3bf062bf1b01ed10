// The text console's part in the program's start and end. The runtime runs
// these from its start-up and shutdown; the text console defines them.
#pragma once

namespace krgfx {

// Clears the console's own state; run by the runtime's start-up.
void resetTextConsole();
// Gives the terminal its modes back and removes the console's signal
// handlers; run at shutdown.
void releaseTextConsole();

}  // namespace krgfx
