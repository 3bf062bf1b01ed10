// The display back ends that screen mode setup may start.
#include "gfx/display/display_driver.h"

const DisplayDriver* driverTable[driverTableSize] = {nullptr, nullptr, nullptr};
