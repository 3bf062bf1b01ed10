// The browser's implementation of WindowSystem: the page's canvas is the
// window. Event callbacks run on the browser's thread and only queue
// messages; the presenter thread takes them in dispatchMessages and shows
// rows with putImageData on the browser's thread after each round.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "gfx/display/changed_rows.h"
#include "gfx/display/window_layer.h"
#include "gfx/display/window_timers.h"
#include "input/double_click.h"

namespace krgfx {

// The canvas's top left corner in the page, from any thread.
void canvasCorner(int32_t* left, int32_t* top);

class WebWindowSystem : public WindowSystem {
 public:
  using Clock = std::chrono::steady_clock;

  // False when the page has no canvas (a program run outside a browser).
  bool open();
  ~WebWindowSystem() override;

  bool createWindow(const WindowSpec& windowSpec) override;
  void destroyWindow() override;
  bool hasWindow() const override { return windowOpen_; }
  void setTitle(const std::string& title) override;
  void moveWindow(int32_t, int32_t) override {}  // the canvas stays in the page
  WindowRect windowRect() override { return clientRectOnScreen(); }
  WindowRect clientRectOnScreen() override;
  WindowRect screenRect() override;
  WindowRect workArea() override;
  void dispatchMessages(void (*procedure)(const WindowMessage& message)) override;
  DisplayFormat displayFormat() override { return {32, 1}; }
  PixelSurface surface() override;
  bool presentRows(int32_t first, int32_t last) override;
  bool presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) override;
  void finishRound() override;
  void waitForEvents(int32_t timeoutMs) override;
  void wakeWaiter() override;
  bool quietUntilWoken() override;
  int32_t refreshRate() override { return 60; }
  void waitForRetrace(int32_t timeoutMs) override;
  void virtualKeyState(uint8_t state[256]) override;
  bool scanCodeState(uint8_t state[256]) override;
  void pointerPosition(int32_t* x, int32_t* y) override;
  void movePointer(int32_t x, int32_t y) override;
  bool pointerOverThisWindow() override { return pointerInside_; }
  void confinePointer(bool confined) override;
  void showPointer(bool visible) override;
  void capturePointer(bool captured) override { captured_ = captured && windowOpen_; }
  bool pointerCaptured() override { return captured_; }
  void startTimer(int32_t id, int32_t intervalMs) override;
  void stopTimer(int32_t id) override { timers_.stop(id); }
  std::vector<DisplayMode> displayModes() override { return {}; }
  bool setDisplayMode(const DisplayMode&) override { return false; }
  void restoreDisplayMode() override {}
  void suspendScreenSaver() override {}
  void restoreScreenSaver() override {}
  void bell() override {}

  // The browser thread's side (web_events.cpp): queue a message, note where
  // the pointer and the canvas are.
  void queue(const WindowMessage& message);
  void notePointer(int32_t pageX, int32_t pageY, int32_t canvasLeft, int32_t canvasTop);
  void notePointerInside(bool inside) { pointerInside_ = inside; }
  void notePointerLock(bool locked) { pointerLocked_ = locked; }
  bool pointerLocked() const { return pointerLocked_; }
  DoubleClickDetector& clicks() { return clicks_; }  // browser thread only

 private:
  void registerCallbacks(bool on);
  void keepKeyState(const WindowMessage& message);
  void stagePresented(int32_t first, int32_t last);

  bool windowOpen_ = false;
  bool fullScreen_ = false;
  int32_t width_ = 0, height_ = 0;
  WindowRect picture_{};
  // Written by the browser thread, read by the presenter and the program.
  std::atomic<int32_t> canvasLeft_{0}, canvasTop_{0};
  std::atomic<int32_t> pointerX_{0}, pointerY_{0};
  std::atomic<bool> pointerInside_{false};
  std::atomic<bool> pointerLocked_{false};
  // Messages from the browser thread wait here for dispatchMessages.
  std::mutex queueLock_;
  std::condition_variable queueSignal_;  // a message queued, or a wake-up
  bool woken_ = false;
  std::vector<WindowMessage> queued_;
  DoubleClickDetector clicks_;  // browser thread
  // Presenter thread only.
  std::vector<WindowMessage> taken_;
  uint8_t virtualKeys_[256]{};
  uint8_t scanCodes_[256]{};
  WindowTimers timers_;
  bool captured_ = false;
  bool confined_ = false;
  // Rows in RGBA for putImageData, and the rows a round changed.
  std::vector<uint8_t> staging_;
  std::vector<uint8_t> shown_;  // what the canvas shows
  int32_t stagedFirst_ = -1, stagedLast_ = -1;
  std::vector<RowRun> takenRuns_;  // rows presentPixels found changed
  Clock::time_point retraceEpoch_ = Clock::now();
};

}  // namespace krgfx
