// The canvas as the window: its size, the page's title, the pointer's look
// and confinement, and the messages the browser thread queued.
#include "gfx/display/web/web_window_system.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "input/key_codes.h"

namespace krgfx {

namespace {

constexpr const char* canvasTarget = "#canvas";

// The left or right Shift, Ctrl or Alt of a modifier key's scan code; 0 for
// other keys.
int32_t sidedModifierOf(int32_t scanCode, bool enhanced) {
  switch (scanCode) {
    case 42:
      return virtualKeyLeftShift;
    case 54:
      return virtualKeyRightShift;
    case 29:
      return enhanced ? virtualKeyRightCtrl : virtualKeyLeftCtrl;
    case 56:
      return enhanced ? virtualKeyRightAlt : virtualKeyLeftAlt;
    default:
      return 0;
  }
}

}  // namespace

void canvasCorner(int32_t* left, int32_t* top) {
  *left = MAIN_THREAD_EM_ASM_INT(
      { return Math.floor(document.getElementById("canvas").getBoundingClientRect().left); });
  *top = MAIN_THREAD_EM_ASM_INT(
      { return Math.floor(document.getElementById("canvas").getBoundingClientRect().top); });
}

bool WebWindowSystem::open() {
  return MAIN_THREAD_EM_ASM_INT(
      { return typeof document != 'undefined' && document.getElementById('canvas') ? 1 : 0; });
}

WebWindowSystem::~WebWindowSystem() { destroyWindow(); }

bool WebWindowSystem::createWindow(const WindowSpec& windowSpec) {
  if (windowOpen_ || windowSpec.width <= 0 || windowSpec.height <= 0) return false;
  width_ = windowSpec.width;
  height_ = windowSpec.height;
  picture_ = windowSpec.picture;
  if (picture_.right <= picture_.left) picture_ = {0, 0, width_, height_};
  staging_.assign(static_cast<size_t>(width_) * height_ * 4, 0);
  // The canvas starts black and opaque.
  shown_.assign(staging_.size(), 0);
  for (size_t alpha = 3; alpha < shown_.size(); alpha += 4) shown_[alpha] = 0xFF;
  MAIN_THREAD_EM_ASM(
      {
        var canvas = document.getElementById('canvas');
        canvas.width = $0;
        canvas.height = $1;
        canvas.style.width = $0 + 'px';
        canvas.style.height = $1 + 'px';
        var context = canvas.getContext('2d', {alpha : false, desynchronized : true});
        context.fillStyle = 'black';
        context.fillRect(0, 0, $0, $1);
        Module['krgfxContext'] = context;
        if (canvas.focus) canvas.focus();
      },
      width_, height_);
  int32_t left, top;
  canvasCorner(&left, &top);
  canvasLeft_ = left;
  canvasTop_ = top;
  setTitle(windowSpec.title);
  windowOpen_ = true;
  registerCallbacks(true);
  fullScreen_ = windowSpec.fullScreen;
  if (fullScreen_) emscripten_request_fullscreen(canvasTarget, EM_TRUE);
  bool focused = MAIN_THREAD_EM_ASM_INT({ return document.hasFocus() ? 1 : 0; });
  WindowMessage activation = windowMessage(MessageKind::activate);
  activation.active = focused;
  queue(activation);
  return true;
}

void WebWindowSystem::destroyWindow() {
  if (!windowOpen_) return;
  registerCallbacks(false);
  if (pointerLocked_) emscripten_exit_pointerlock();
  if (fullScreen_) emscripten_exit_fullscreen();
  MAIN_THREAD_EM_ASM({
    document.getElementById('canvas').style.cursor = "";
    Module['krgfxContext'] = null;
  });
  windowOpen_ = false;
  fullScreen_ = false;
  takenRuns_.clear();
  stagedFirst_ = stagedLast_ = -1;
  captured_ = confined_ = false;
  timers_.clear();
  std::lock_guard<std::mutex> guard(queueLock_);
  queued_.clear();
}

void WebWindowSystem::setTitle(const std::string& title) {
  MAIN_THREAD_EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
}

WindowRect WebWindowSystem::clientRectOnScreen() {
  int32_t left = canvasLeft_, top = canvasTop_;
  return {left, top, left + width_, top + height_};
}

WindowRect WebWindowSystem::screenRect() {
  int32_t width = MAIN_THREAD_EM_ASM_INT({ return screen.width; });
  int32_t height = MAIN_THREAD_EM_ASM_INT({ return screen.height; });
  return {0, 0, width, height};
}

// The page's viewport: a scaled picture grows only as far as the page shows.
WindowRect WebWindowSystem::workArea() {
  int32_t width = MAIN_THREAD_EM_ASM_INT({ return window.innerWidth; });
  int32_t height = MAIN_THREAD_EM_ASM_INT({ return window.innerHeight; });
  return {0, 0, width, height};
}

void WebWindowSystem::queue(const WindowMessage& message) {
  std::lock_guard<std::mutex> guard(queueLock_);
  queued_.push_back(message);
  queueSignal_.notify_one();
}

// Between rounds the presenter waits for the page's next event or the
// program's next drawing, whichever comes first.
void WebWindowSystem::waitForEvents(int32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(queueLock_);
  queueSignal_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [&] { return woken_ || !queued_.empty(); });
  woken_ = false;
}

void WebWindowSystem::wakeWaiter() {
  std::lock_guard<std::mutex> guard(queueLock_);
  woken_ = true;
  queueSignal_.notify_one();
}

// Every event queues a message and so ends the wait; only timers need the
// presenter's rounds.
bool WebWindowSystem::quietUntilWoken() {
  std::lock_guard<std::mutex> guard(queueLock_);
  return queued_.empty() && timers_.empty();
}

void WebWindowSystem::notePointer(int32_t pageX, int32_t pageY, int32_t canvasLeft,
                                  int32_t canvasTop) {
  pointerX_ = pageX;
  pointerY_ = pageY;
  canvasLeft_ = canvasLeft;
  canvasTop_ = canvasTop;
}

void WebWindowSystem::dispatchMessages(void (*procedure)(const WindowMessage& message)) {
  taken_.clear();
  {
    std::lock_guard<std::mutex> guard(queueLock_);
    taken_.swap(queued_);
  }
  timers_.appendDue(taken_);
  for (const WindowMessage& each : taken_) {
    keepKeyState(each);
    procedure(each);
  }
}

// The keys held, from the key messages as the presenter hands them on; a
// window that loses the focus has none.
void WebWindowSystem::keepKeyState(const WindowMessage& message) {
  switch (message.kind) {
    case MessageKind::keyDown:
    case MessageKind::systemKeyDown:
    case MessageKind::keyUp:
    case MessageKind::systemKeyUp: {
      bool down = message.kind == MessageKind::keyDown ||
                  message.kind == MessageKind::systemKeyDown;
      uint8_t mark = down ? 0x80 : 0;
      virtualKeys_[message.virtualKey & 0xFF] = mark;
      if (int32_t sided = sidedModifierOf(message.scanCode, message.enhanced))
        virtualKeys_[sided] = mark;
      scanCodes_[(message.scanCode + (message.enhanced ? 128 : 0)) & 0xFF] = mark;
      break;
    }
    case MessageKind::activate:
      if (!message.active) {
        std::memset(virtualKeys_, 0, sizeof virtualKeys_);
        std::memset(scanCodes_, 0, sizeof scanCodes_);
      }
      break;
    default:
      break;
  }
}

void WebWindowSystem::virtualKeyState(uint8_t state[256]) {
  std::memcpy(state, virtualKeys_, sizeof virtualKeys_);
}

bool WebWindowSystem::scanCodeState(uint8_t state[256]) {
  std::memcpy(state, scanCodes_, sizeof scanCodes_);
  return true;
}

void WebWindowSystem::pointerPosition(int32_t* x, int32_t* y) {
  *x = pointerX_;
  *y = pointerY_;
}

// A page cannot move the pointer: the position is taken as the pointer's
// own until the next real movement (under pointer lock, the movements
// continue from there).
void WebWindowSystem::movePointer(int32_t x, int32_t y) {
  pointerX_ = x;
  pointerY_ = y;
}

// Confinement is the browser's pointer lock, granted at the next click or
// key press on the page; the movements then move the pointer inside the
// picture.
void WebWindowSystem::confinePointer(bool confined) {
  if (confined == confined_ || !windowOpen_) return;
  confined_ = confined;
  if (confined)
    emscripten_request_pointerlock(canvasTarget, EM_TRUE);
  else if (pointerLocked_)
    emscripten_exit_pointerlock();
}

void WebWindowSystem::showPointer(bool visible) {
  if (!windowOpen_) return;
  MAIN_THREAD_EM_ASM({ document.getElementById('canvas').style.cursor = $0 ? 'default' : 'none'; },
                     visible);
}

void WebWindowSystem::startTimer(int32_t id, int32_t intervalMs) {
  if (windowOpen_) timers_.start(id, intervalMs);
}

// The page reports no vertical blank here: the next 60 Hz frame boundary.
void WebWindowSystem::waitForRetrace(int32_t timeoutMs) {
  sleepUntilNextFrame(retraceEpoch_, 60, timeoutMs);
}

}  // namespace krgfx
