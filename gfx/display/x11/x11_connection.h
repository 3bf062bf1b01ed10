// The X11 implementation of WindowSystem, shared by its source files. Only
// the X11 back end includes this header.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "gfx/display/posix/event_waiter.h"
#include "gfx/display/window_layer.h"
#include "gfx/display/window_timers.h"
#include "gfx/display/x11/x11_key_events.h"
#include "input/double_click.h"

namespace krgfx {

// Waits for the server and answers whether a protocol error came back on
// this display meanwhile.
bool syncFailed(Display* display);

class X11WindowSystem : public WindowSystem {
 public:
  using Clock = std::chrono::steady_clock;

  // Connects to $DISPLAY; false when that fails or the path cannot be served.
  bool connect(PresentPath path);
  ~X11WindowSystem() override;

  bool createWindow(const WindowSpec& windowSpec) override;
  void destroyWindow() override;
  bool hasWindow() const override { return window_ != 0 && !dead_; }
  void setTitle(const std::string& title) override;
  void moveWindow(int32_t x, int32_t y) override;
  WindowRect windowRect() override;
  WindowRect clientRectOnScreen() override;
  WindowRect screenRect() override;
  WindowRect workArea() override;
  int32_t desktopDpi() override;
  void dispatchMessages(void (*procedure)(const WindowMessage& message)) override;
  DisplayFormat displayFormat() override { return format_; }
  PixelSurface surface() override;
  bool presentRows(int32_t first, int32_t last) override;
  bool presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) override;
  int32_t refreshRate() override;
  void waitForRetrace(int32_t timeoutMs) override;
  void waitForEvents(int32_t timeoutMs) override;
  void wakeWaiter() override;
  bool quietUntilWoken() override;
  void virtualKeyState(uint8_t state[256]) override;
  bool scanCodeState(uint8_t state[256]) override;
  void pointerPosition(int32_t* x, int32_t* y) override;
  void movePointer(int32_t x, int32_t y) override;
  bool pointerOverThisWindow() override;
  void confinePointer(bool confined) override;
  void showPointer(bool visible) override;
  void capturePointer(bool captured) override { captured_ = captured && hasWindow(); }
  bool pointerCaptured() override { return captured_; }
  void startTimer(int32_t id, int32_t intervalMs) override;
  void stopTimer(int32_t id) override;
  std::vector<DisplayMode> displayModes() override;
  bool setDisplayMode(const DisplayMode& mode) override;
  void restoreDisplayMode() override;
  void suspendScreenSaver() override;
  void restoreScreenSaver() override;
  void bell() override;

  // Requests sent on the connection so far: what handling an event costs.
  unsigned long requestsSent() const { return display_ ? NextRequest(display_) - 1 : 0; }

  // Called from the IO error exit handler: the connection is gone.
  void markDead() { dead_ = true; }

 private:
  bool chooseVisual();
  bool createSharedImage(int32_t width, int32_t height);
  void freeSharedImage();
  void setWindowProperties(const WindowSpec& windowSpec);
  void mapAndFocus();
  void createPointerArea(const WindowRect& picture);
  Cursor arrowCursor();
  void refreshClientOrigin();
  void notePointer(int x, int y, int rootX, int rootY, std::vector<WindowMessage>& messages);
  Window topLevelOf(Window window);
  void translate(XEvent& event, std::vector<WindowMessage>& messages);
  void translateKey(XKeyEvent& event, std::vector<WindowMessage>& messages);
  void translateFocus(bool focused, std::vector<WindowMessage>& messages);
  Atom atom(const char* name) { return XInternAtom(display_, name, False); }

  Display* display_ = nullptr;
  int screen_ = 0;
  Window root_ = 0;
  Window window_ = 0;
  Window topLevel_ = 0;  // the window or the frame a window manager put round it
  // Where the pointer is hidden and confined: the window, or an input-only
  // child over the picture when a black border surrounds it.
  Window pointerArea_ = 0;
  GC gc_ = nullptr;
  Visual* visual_ = nullptr;
  int visualDepth_ = 0;
  Colormap colormap_ = 0;
  DisplayFormat format_{};
  PresentPath path_ = PresentPath::clientPixels;
  int32_t width_ = 0, height_ = 0;
  int32_t clientX_ = 0, clientY_ = 0;  // the client area's corner on the screen
  bool fullScreen_ = false;
  bool dead_ = false;
  bool deathReported_ = false;
  bool destroying_ = false;
  EventWaiter waiter_;  // ends a waitForEvents early
  // Shared-memory surface.
  XShmSegmentInfo shm_{};
  XImage* sharedImage_ = nullptr;
  int shmEventBase_ = 0;
  // Input state.
  Atom deleteWindowAtom_ = 0;
  Atom protocolsAtom_ = 0;
  Cursor emptyCursor_ = 0;
  Cursor arrowCursor_ = 0;
  bool confined_ = false;
  bool captured_ = false;
  bool focused_ = false;
  bool mapped_ = false;
  int32_t lastX_ = INT32_MIN, lastY_ = INT32_MIN;
  X11KeyTranslator keys_;       // keys held, characters typed
  X11Keymap keymap_;            // keys down, kept from the events while focused
  DoubleClickDetector clicks_;  // X reports single presses only
  WindowTimers timers_;
  // Display modes and the screen saver.
  int randrEventBase_ = -1;
  bool modeSaved_ = false;
  SizeID savedSize_ = 0;
  Rotation savedRotation_ = 0;
  short savedRate_ = 0;
  int32_t refreshRate_ = 0;
  int32_t screenWidth_ = 0, screenHeight_ = 0;  // as the last mode change left it
  bool screenSaverSaved_ = false;
  int saverTimeout_ = 0, saverInterval_ = 0, saverBlanking_ = 0, saverExposures_ = 0;
  Clock::time_point retraceEpoch_ = Clock::now();
};

}  // namespace krgfx
