// The display back ends that screen mode setup may start.
#include "gfx/display/display_driver.h"
#include "gfx/display/window_layer.h"

namespace krgfx {

const DisplayDriver* driverTable[driverTableSize] = {&directXDriver, &gdiDriver, &openGlDriver};

}  // namespace krgfx
