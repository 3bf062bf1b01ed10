// Display drivers for tests: they record every call and fail or succeed as told.
#pragma once

#include <string>
#include <vector>

#include "gfx/display/display_driver.h"

namespace krgfx {

namespace testing_drivers {

// Calls made so far, e.g. "GDI.init(60,window)", "GDI.exit", "GDI.lock".
extern std::vector<std::string> calls;
// Index of the driver (0 DirectX, 1 GDI, 2 OpenGL) whose init succeeds, and
// the refresh rate it needs (-1: any); -1 for none.
extern int succeedingDriver;
extern int succeedingRate;

// Puts the three recording drivers into the driver table and clears the record.
void install();
// Restores the driver table that the runtime had before install.
void uninstall();
// Only the lock, unlock and palette calls of the record.
std::vector<std::string> callsStartingWith(const std::string& prefix);

}  // namespace testing_drivers

}  // namespace krgfx
