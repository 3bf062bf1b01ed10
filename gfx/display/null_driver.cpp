// The driver of a screen that is never shown.
#include "gfx/display/display_driver.h"

namespace krgfx {

namespace {
void doNothing() {}
}  // namespace

const DisplayDriver nullDriver = {
    .name = "Null",
    .init = nullptr,
    .exit = nullptr,
    .lock = doNothing,
    .unlock = doNothing,
    .setPaletteEntry = nullptr,
    .waitRetrace = nullptr,
    .readMouse = nullptr,
    .placeMouse = nullptr,
    .setTitle = nullptr,
    .moveWindow = nullptr,
    .listModes = nullptr,
    .showPage = nullptr,
    .pumpInput = nullptr,
};

}  // namespace krgfx
