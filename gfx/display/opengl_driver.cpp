// The "OpenGL" driver takes part in driver selection only: it accepts
// nothing but flagOpenGl requests, and this system has no OpenGL back end to
// serve those either, so every init fails and selection moves on.
#include <krgfx/gfx.h>
#include "gfx/display/window_layer.h"
#include "input/window_input.h"

namespace krgfx {

namespace {
int32_t openGlInit(const char*, int32_t, int32_t, int32_t, int32_t, int32_t) { return -1; }
void openGlExit() {}
}  // namespace

const DisplayDriver openGlDriver = {
    .name = "OpenGL",
    .init = openGlInit,
    .exit = openGlExit,
    .lock = lockWindowLayer,
    .unlock = unlockWindowLayer,
    .setPaletteEntry = nullptr,
    .waitRetrace = waitRetraceBySleeping,
    .readMouse = windowReadMouse,
    .placeMouse = windowPlaceMouse,
    .setTitle = setLayerTitle,
    .moveWindow = moveMainWindow,
    .listModes = listWindowModes,
    .showPage = nullptr,
    .pumpInput = nullptr,
};

}  // namespace krgfx
