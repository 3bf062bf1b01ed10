// The "GDI" driver: the presenter shows rows from the framebuffer, or from a
// conversion buffer when the display's pixel format differs, out of the
// program's own memory (XPutImage on X11).
#include <algorithm>

#include <krgfx/gfx.h>
#include "gfx/display/window_layer.h"
#include "input/window_input.h"

namespace krgfx {

namespace {

// Rows go out unchanged when the display keeps the framebuffer's format and
// they are padded as presented rows must be (an odd-width 16-bit screen is
// not: its rows are copied into the padded conversion buffer).
bool displayTakesFramebuffer(const GfxScreen& screen, DisplayFormat format) {
  const WindowLayer& layer = windowLayer;
  if (layer.picture.scale != 1 || layer.clientWidth != layer.width ||
      layer.clientHeight != layer.height)
    return false;
  if (screen.scanlineSize != 1 || format.rgbOrder != 0) return false;
  if (screen.pitch % presentRowAlignment != 0) return false;
  return (screen.depth == 32 && format.depth == 32) || (screen.depth == 16 && format.depth == 16);
}

// Full screen needs a display mode of exactly the screen's size.
int32_t gdiSetMode() {
  const WindowLayer& layer = windowLayer;
  return layer.system->setDisplayMode({layer.width, layer.height, layer.refreshRate}) ? layer.height
                                                                                      : 0;
}

int32_t gdiOpenWindow() {
  WindowLayer& layer = windowLayer;
  WindowSystem& system = *layer.system;
  WindowSpec windowSpec;
  if (!(layer.flags & flagFullScreen))
    windowSpec = mainWindowSpec(layer.height);
  else if (!fullScreenWindowSpec(&windowSpec, gdiSetMode))
    return -1;
  if (createMainWindow(windowSpec) != 0) return -1;
  DisplayFormat format = system.displayFormat();
  if (!displayTakesFramebuffer(*gfxScreen, format)) {
    if (!chooseWindowBlitter(format)) return -1;
    layer.conversionPitch = (layer.clientWidth * displayBytesPerPixel(format.depth) +
                             presentRowAlignment - 1) &
                            ~(presentRowAlignment - 1);
    layer.conversion.assign(static_cast<size_t>(layer.conversionPitch) * layer.clientHeight, 0);
  }
  gfxScreen->refreshRate = system.refreshRate();
  return 0;
}

void gdiCloseWindow() {
  WindowLayer& layer = windowLayer;
  layer.blitter = nullptr;
  layer.scaledBlitter = nullptr;
  layer.conversion = {};
  layer.conversionPitch = 0;
  if (!layer.system) return;
  if (layer.modeChanged) layer.system->restoreDisplayMode();
  layer.modeChanged = false;
  layer.system->destroyWindow();
}

// Every row again, as last converted.
void gdiRepaint() {
  WindowLayer& layer = windowLayer;
  if (!layer.system || !gfxScreen) return;
  bool converted = !layer.conversion.empty();
  const uint8_t* rows = converted ? layer.conversion.data() : gfxScreen->visibleFramebuffer;
  int32_t pitch = converted ? layer.conversionPitch : gfxScreen->pitch;
  if (!layer.system->presentPixels(rows, pitch, 0, layer.clientHeight - 1)) presentationFailed();
}

void gdiPresenterMain() {
  if (openPresenterWindow()) runGdiPresenter();
}

int32_t gdiInit(const char* title, int32_t width, int32_t height, int32_t depth,
                int32_t refreshRate, int32_t flags) {
  windowLayer = WindowLayer{};
  if (flags & flagOpenGl) return -1;
  windowLayer.path = PresentPath::clientPixels;
  windowLayer.openWindow = gdiOpenWindow;
  windowLayer.closeWindow = gdiCloseWindow;
  windowLayer.repaint = gdiRepaint;
  windowLayer.presenterMain = gdiPresenterMain;
  return startWindowLayer(title, width, height, std::max(depth, 8), refreshRate, flags);
}

}  // namespace

const DisplayDriver gdiDriver = {
    .name = "GDI",
    .init = gdiInit,
    .exit = stopWindowLayer,
    .lock = lockWindowLayer,
    .unlock = unlockWindowLayer,
    .setPaletteEntry = setWindowPaletteEntry,
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
