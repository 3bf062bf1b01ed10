// The window procedure: runs on the presenter thread, under the driver lock,
// for every message the window system delivers.
#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include "gfx/display/presenter_thread_platform.h"
#include "gfx/display/window_layer.h"
#include "input/key_buffer.h"
#include "input/key_codes.h"
#include "input/window_input.h"

namespace krgfx {

namespace {

void post(int32_t type) { queueEvent({type, 0, 0, 0, 0}); }

void closeRequested() {
  queueKey(windowCloseKey);
  post(eventCloseRequest);
}

// The window or the display went away from outside: the presenter stops and
// the program is told as if the user had asked to close.
void windowDestroyed() {
  windowLayer.windowGone = true;
  windowLayer.windowActive = 0;
  presenterRunning = false;
  closeRequested();
}

void activationChanged(WindowSystem& system, const WindowMessage& message) {
  WindowLayer& layer = windowLayer;
  layer.windowActive = message.active && !message.minimised;
  if (layer.flags & flagHighPriority) setPresenterPriority(layer.windowActive);
  markAllRowsDirty();
  if (layer.windowActive) {
    post(eventFocusGained);
    handleInputActivation(system, true);
  } else {
    handleInputActivation(system, false);
    // Minimised while still the active window: the focus stays.
    if (!(message.active && message.minimised)) post(eventFocusLost);
  }
}

// Between window and full screen; back to the old setting when the new one
// cannot be had.
void switchFullScreen(WindowSystem& system) {
  WindowLayer& layer = windowLayer;
  if (mouseState.mouseTracking) post(eventMouseLeft);
  if (layer.flags & flagNoSwitch) return;
  system.confinePointer(false);
  layer.closeWindow();
  layer.flags ^= flagFullScreen;
  if (layer.openWindow() != 0) {
    layer.closeWindow();
    layer.flags ^= flagFullScreen;
    if (layer.openWindow() != 0) {
      windowDestroyed();
      return;
    }
  }
  if (gfxScreen)
    for (int32_t i = 0; i < 256; ++i) {
      uint32_t colour = gfxScreen->devicePalette[i];
      setWindowPaletteEntry(i, colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    }
  markAllRowsDirty();
  layer.windowActive = 1;
  mouseState.mouseTracking = 0;
}

// The desktop's scale changed under the window: it is made again at the new
// scale (full screen keeps its picture).
void rescaleWindow() {
  WindowLayer& layer = windowLayer;
  if (layer.flags & flagFullScreen) return;
  if (mouseState.mouseTracking) post(eventMouseLeft);
  layer.closeWindow();
  if (layer.openWindow() != 0) {
    windowDestroyed();
    return;
  }
  markAllRowsDirty();
  mouseState.mouseTracking = 0;
}

}  // namespace

int32_t createMainWindow(const WindowSpec& windowSpec) {
  WindowLayer& layer = windowLayer;
  layer.outerWidth = windowSpec.width;
  layer.outerHeight = windowSpec.height;
  if (!layer.system || !layer.system->createWindow(windowSpec)) return -1;
  // A new window shows the arrow: give it the pointer the program chose.
  notePointerPosition(*layer.system, WindowMessage{});
  applyPointerShape(*layer.system);
  return 0;
}

void presentationFailed() {
  if (!windowLayer.windowGone) windowDestroyed();
}

void pumpMessages() {
  if (windowLayer.system && !windowLayer.windowGone)
    windowLayer.system->dispatchMessages(windowProcedure);
}

void windowProcedure(const WindowMessage& message) {
  WindowLayer& layer = windowLayer;
  if (!layer.system || layer.windowGone) return;
  WindowSystem& system = *layer.system;
  notePointerPosition(system, message);
  switch (message.kind) {
    case MessageKind::systemKeyDown:
      // Alt+Enter switches between window and full screen.
      if (message.virtualKey == virtualKeyReturn) {
        if (layer.windowActive) switchFullScreen(system);
        return;
      }
      handleKeyboardMessage(message);
      return;
    case MessageKind::keyDown:
    case MessageKind::keyUp:
    case MessageKind::systemKeyUp:
    case MessageKind::character:
      handleKeyboardMessage(message);
      return;
    case MessageKind::mouseMove:
    case MessageKind::buttonDown:
    case MessageKind::buttonUp:
    case MessageKind::buttonDoubleClick:
    case MessageKind::wheel:
    case MessageKind::horizontalWheel:
    case MessageKind::mouseLeave:
    case MessageKind::timer:
    case MessageKind::setCursor:
    case MessageKind::moving:
      handleMouseMessage(system, message);
      return;
    case MessageKind::activate:
      activationChanged(system, message);
      return;
    case MessageKind::close:
      closeRequested();
      return;
    case MessageKind::paint:
      layer.repaint();
      return;
    case MessageKind::displayChange:
      layer.repaint();
      markAllRowsDirty();
      return;
    case MessageKind::dpiChanged:
      rescaleWindow();
      return;
    case MessageKind::maximise:
      if (layer.windowActive) switchFullScreen(system);
      return;
    case MessageKind::destroyed:
      windowDestroyed();
      return;
  }
}

}  // namespace krgfx
