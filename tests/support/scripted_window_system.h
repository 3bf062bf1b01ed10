// A window system that tests drive: they inject messages and read back what
// was presented (rows, time, pixels), where the pointer is, whether it is
// hidden, confined or captured, the timers and the display mode.
//
// The window layer calls it on the presenter thread while the test reads and
// scripts it on its own thread, so every member takes an internal mutex
// (never held while the window procedure runs).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "gfx/display/window_layer.h"
#include "gfx/display/window_system.h"

namespace krgfx {

class ScriptedWindowSystem : public WindowSystem {
 public:
  using Clock = std::chrono::steady_clock;

  // One presentRows or presentPixels call.
  struct Presentation {
    int32_t first, last;
    bool fromSurface;  // presentRows (the system's surface) or presentPixels
    Clock::time_point when;
    int32_t bytesPerPixel;      // of the display format (3 for depth 24)
    int32_t bytesPerRow;        // client width times bytesPerPixel
    std::vector<uint8_t> rows;  // rows first to last, bytesPerRow each
    // Pixel x of presented row `row` (which must lie in first..last).
    uint32_t pixel(int32_t x, int32_t row) const;
  };

  ScriptedWindowSystem();

  // --- Scripting (test thread) ---
  void inject(const WindowMessage& message);  // delivered at the next dispatch
  // Blocks until every injected message has been handed to the procedure and
  // the dispatch that did so has returned; false on time-out.
  bool waitUntilDelivered(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Blocks until at least `count` presentations were recorded in total.
  bool waitForPresentations(size_t count,
                            std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Blocks until dispatchMessages has run `count` more times from now.
  bool waitForDispatches(int count, std::chrono::milliseconds timeout = std::chrono::seconds(5));

  void setDisplayFormat(DisplayFormat format);
  void setScreenSize(int32_t width, int32_t height);
  void setDesktopDpi(int32_t dpi);  // 0 (the start): the system does not tell
  void setRefreshRate(int32_t hertz);
  void setDisplayModes(std::vector<DisplayMode> modes);
  void failWindows(bool windowed, bool fullScreen);  // createWindow answers false
  void setSurfaceAvailable(bool available);          // surface() gives no pixels while false
  void failPresentations(bool fail);                 // presentRows/presentPixels answer false
  void loseDisplayMode();  // another program changed the display mode back
  void setPointer(int32_t screenX, int32_t screenY);
  void setPointerOverThisWindow(bool over);
  // A window system that may not move the pointer (as on Wayland).
  void setPointerMovable(bool movable);
  void setKeyStates(const uint8_t virtualKeys[256], const uint8_t scanCodes[256]);
  void setScanCodesReadable(bool readable);  // scanCodeState answers false while not
  // While held, finishRound waits (on the presenter's thread) until released.
  void holdFinishRound(bool hold);
  // Blocks until the presenter waits in a held finishRound; false on time-out.
  bool waitUntilFinishHeld(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Injects a timer message now when the timer runs; false when it does not.
  bool fireTimer(int32_t id);

  // --- Reading back (test thread) ---
  std::vector<Presentation> presentations() const;
  void forgetPresentations();
  std::vector<WindowSpec> createdWindows() const;  // every successful createWindow
  int destroyCount() const;
  bool windowOpen() const;
  WindowSpec currentWindow() const;
  std::string title() const;
  int32_t pointerX() const;
  int32_t pointerY() const;
  bool confined() const;
  bool pointerVisible() const;
  bool captured() const;
  std::map<int32_t, int32_t> timers() const;  // id to interval
  bool displayModeSet() const;
  DisplayMode displayMode() const;  // the mode last set while one is set
  bool screenSaverSuspended() const;
  int bellCount() const;
  int retraceWaits() const;

  // --- WindowSystem ---
  bool createWindow(const WindowSpec& windowSpec) override;
  void destroyWindow() override;
  bool hasWindow() const override;
  void setTitle(const std::string& title) override;
  void moveWindow(int32_t x, int32_t y) override;
  WindowRect windowRect() override;
  WindowRect clientRectOnScreen() override;
  WindowRect screenRect() override;
  int32_t desktopDpi() override;
  void dispatchMessages(void (*procedure)(const WindowMessage& message)) override;
  DisplayFormat displayFormat() override;
  PixelSurface surface() override;
  bool presentRows(int32_t first, int32_t last) override;
  bool presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) override;
  void finishRound() override;
  int32_t refreshRate() override;
  void waitForRetrace(int32_t timeoutMs) override;
  void virtualKeyState(uint8_t state[256]) override;
  bool scanCodeState(uint8_t state[256]) override;
  void pointerPosition(int32_t* x, int32_t* y) override;
  void movePointer(int32_t x, int32_t y) override;
  bool canMovePointer() override;
  bool pointerOverThisWindow() override;
  void confinePointer(bool confined) override;
  void showPointer(bool visible) override;
  void capturePointer(bool captured) override;
  bool pointerCaptured() override;
  void startTimer(int32_t id, int32_t intervalMs) override;
  void stopTimer(int32_t id) override;
  std::vector<DisplayMode> displayModes() override;
  bool setDisplayMode(const DisplayMode& mode) override;
  void restoreDisplayMode() override;
  void suspendScreenSaver() override;
  void restoreScreenSaver() override;
  void bell() override;

  // Frame added around the client area of a window with a frame.
  static constexpr int32_t frameSide = 4, frameTop = 24;

 private:
  int32_t bytesPerPixel() const;
  void record(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last, bool fromSurface);
  WindowRect clientRectLocked() const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<WindowMessage> queue_;
  bool dispatching_ = false;
  int dispatchCount_ = 0;
  std::vector<Presentation> presentations_;
  size_t presentationTotal_ = 0;
  std::vector<WindowSpec> created_;
  WindowSpec window_{};
  bool open_ = false;
  int destroyed_ = 0;
  bool failWindowed_ = false, failFullScreen_ = false;
  DisplayFormat format_{32, 0};
  int32_t screenWidth_ = 1024, screenHeight_ = 768;
  int32_t desktopDpi_ = 0;
  int32_t refreshRate_ = 60;
  std::vector<DisplayMode> modes_;
  bool modeSet_ = false;
  DisplayMode mode_{};
  std::vector<uint8_t> surface_;
  bool surfaceAvailable_ = true;
  bool failPresentations_ = false;
  int32_t pointerX_ = 0, pointerY_ = 0;
  int overThisWindow_ = -1;  // -1: whenever the pointer is in the client area
  bool pointerMovable_ = true;
  bool confined_ = false, visible_ = true, captured_ = false;
  std::map<int32_t, int32_t> timers_;
  uint8_t virtualKeys_[256] = {}, scanCodes_[256] = {};
  bool scanCodesReadable_ = true;
  bool screenSaverSuspended_ = false;
  int bells_ = 0;
  int retraceWaits_ = 0;
  bool finishHeld_ = false;
  bool finishWaiting_ = false;
};

// Makes the window layer open the given scripted system (which the test owns)
// instead of an X11 connection; restoreWindowSystemProvider undoes it.
void useScriptedWindowSystem(ScriptedWindowSystem& system);
void restoreWindowSystemProvider();
// The path the window layer last opened a system for.
PresentPath lastScriptedPath();

// Message builders.
WindowMessage scriptedMessage(MessageKind kind);
WindowMessage scriptedActivation(bool active, bool minimised = false);
WindowMessage scriptedKey(MessageKind kind, int32_t virtualKey, int32_t scanCode);

}  // namespace krgfx
