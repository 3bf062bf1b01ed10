// The text console: what the runtime's text and input operations do while no
// graphics screen has installed its hooks.
#pragma once

#include "runtime/runtime_state.h"

// Clears the console's own state; run by the runtime's start-up.
void resetTextConsole();
// Releases the block the console keeps for its file handle; run at shutdown.
void releaseTextConsole();
