#include "scripted_window_system.h"

#include <algorithm>
#include <cstring>

#include "input/key_codes.h"

namespace krgfx {

using Lock = std::unique_lock<std::mutex>;

uint32_t ScriptedWindowSystem::Presentation::pixel(int32_t x, int32_t row) const {
  const uint8_t* at = rows.data() + static_cast<size_t>(row - first) * bytesPerRow +
                      static_cast<size_t>(x) * bytesPerPixel;
  uint32_t value = 0;
  for (int32_t i = bytesPerPixel - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

ScriptedWindowSystem::ScriptedWindowSystem() { modes_ = {{640, 480, 60}, {800, 600, 60}}; }

// --- Scripting ---

// A key message carries the modifiers held when it is injected.
void ScriptedWindowSystem::inject(const WindowMessage& message) {
  Lock lock(mutex_);
  queue_.push_back(message);
  switch (message.kind) {
    case MessageKind::keyDown:
    case MessageKind::keyUp:
    case MessageKind::systemKeyDown:
    case MessageKind::systemKeyUp:
      queue_.back().modifiers |= modifiersOf(virtualKeys_, false);
      break;
    default:
      break;
  }
}

bool ScriptedWindowSystem::waitUntilDelivered(std::chrono::milliseconds timeout) {
  Lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return queue_.empty() && !dispatching_; });
}

bool ScriptedWindowSystem::waitForPresentations(size_t count, std::chrono::milliseconds timeout) {
  Lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return presentationTotal_ >= count; });
}

void ScriptedWindowSystem::holdFinishRound(bool hold) {
  Lock lock(mutex_);
  finishHeld_ = hold;
  changed_.notify_all();
}

bool ScriptedWindowSystem::waitUntilFinishHeld(std::chrono::milliseconds timeout) {
  Lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return finishWaiting_; });
}

bool ScriptedWindowSystem::waitForDispatches(int count, std::chrono::milliseconds timeout) {
  Lock lock(mutex_);
  int target = dispatchCount_ + count;
  return changed_.wait_for(lock, timeout, [&] { return dispatchCount_ >= target; });
}

void ScriptedWindowSystem::setDisplayFormat(DisplayFormat format) {
  Lock lock(mutex_);
  format_ = format;
}

void ScriptedWindowSystem::setScreenSize(int32_t width, int32_t height) {
  Lock lock(mutex_);
  screenWidth_ = width;
  screenHeight_ = height;
}

void ScriptedWindowSystem::setDesktopDpi(int32_t dpi) {
  Lock lock(mutex_);
  desktopDpi_ = dpi;
}

int32_t ScriptedWindowSystem::desktopDpi() {
  Lock lock(mutex_);
  return desktopDpi_;
}

void ScriptedWindowSystem::setRefreshRate(int32_t hertz) {
  Lock lock(mutex_);
  refreshRate_ = hertz;
}

void ScriptedWindowSystem::setDisplayModes(std::vector<DisplayMode> modes) {
  Lock lock(mutex_);
  modes_ = std::move(modes);
}

void ScriptedWindowSystem::failWindows(bool windowed, bool fullScreen) {
  Lock lock(mutex_);
  failWindowed_ = windowed;
  failFullScreen_ = fullScreen;
}

void ScriptedWindowSystem::setSurfaceAvailable(bool available) {
  Lock lock(mutex_);
  surfaceAvailable_ = available;
}

void ScriptedWindowSystem::loseDisplayMode() {
  Lock lock(mutex_);
  modeSet_ = false;
}

void ScriptedWindowSystem::setPointer(int32_t screenX, int32_t screenY) {
  Lock lock(mutex_);
  pointerX_ = screenX;
  pointerY_ = screenY;
}

void ScriptedWindowSystem::setPointerOverThisWindow(bool over) {
  Lock lock(mutex_);
  overThisWindow_ = over ? 1 : 0;
}

void ScriptedWindowSystem::setKeyStates(const uint8_t virtualKeys[256],
                                        const uint8_t scanCodes[256]) {
  Lock lock(mutex_);
  std::memcpy(virtualKeys_, virtualKeys, 256);
  std::memcpy(scanCodes_, scanCodes, 256);
}

bool ScriptedWindowSystem::fireTimer(int32_t id) {
  Lock lock(mutex_);
  if (!timers_.count(id)) return false;
  WindowMessage message = scriptedMessage(MessageKind::timer);
  message.timerId = id;
  queue_.push_back(message);
  return true;
}

// --- Reading back ---

std::vector<ScriptedWindowSystem::Presentation> ScriptedWindowSystem::presentations() const {
  Lock lock(mutex_);
  return presentations_;
}

void ScriptedWindowSystem::forgetPresentations() {
  Lock lock(mutex_);
  presentations_.clear();
}

std::vector<WindowSpec> ScriptedWindowSystem::createdWindows() const {
  Lock lock(mutex_);
  return created_;
}

int ScriptedWindowSystem::destroyCount() const {
  Lock lock(mutex_);
  return destroyed_;
}

bool ScriptedWindowSystem::windowOpen() const {
  Lock lock(mutex_);
  return open_;
}

WindowSpec ScriptedWindowSystem::currentWindow() const {
  Lock lock(mutex_);
  return window_;
}

std::string ScriptedWindowSystem::title() const {
  Lock lock(mutex_);
  return window_.title;
}

int32_t ScriptedWindowSystem::pointerX() const {
  Lock lock(mutex_);
  return pointerX_;
}

int32_t ScriptedWindowSystem::pointerY() const {
  Lock lock(mutex_);
  return pointerY_;
}

bool ScriptedWindowSystem::confined() const {
  Lock lock(mutex_);
  return confined_;
}

bool ScriptedWindowSystem::pointerVisible() const {
  Lock lock(mutex_);
  return visible_;
}

bool ScriptedWindowSystem::captured() const {
  Lock lock(mutex_);
  return captured_;
}

std::map<int32_t, int32_t> ScriptedWindowSystem::timers() const {
  Lock lock(mutex_);
  return timers_;
}

bool ScriptedWindowSystem::displayModeSet() const {
  Lock lock(mutex_);
  return modeSet_;
}

DisplayMode ScriptedWindowSystem::displayMode() const {
  Lock lock(mutex_);
  return mode_;
}

bool ScriptedWindowSystem::screenSaverSuspended() const {
  Lock lock(mutex_);
  return screenSaverSuspended_;
}

int ScriptedWindowSystem::bellCount() const {
  Lock lock(mutex_);
  return bells_;
}

int ScriptedWindowSystem::retraceWaits() const {
  Lock lock(mutex_);
  return retraceWaits_;
}

// --- WindowSystem ---

int32_t ScriptedWindowSystem::bytesPerPixel() const {
  switch (format_.depth) {
    case 8:
      return 1;
    case 15:
    case 16:
      return 2;
    case 24:
      return 3;
    default:
      return 4;
  }
}

bool ScriptedWindowSystem::createWindow(const WindowSpec& windowSpec) {
  Lock lock(mutex_);
  if (open_ || windowSpec.width <= 0 || windowSpec.height <= 0) return false;
  if (windowSpec.fullScreen ? failFullScreen_ : failWindowed_) return false;
  window_ = windowSpec;
  open_ = true;
  created_.push_back(windowSpec);
  int32_t pitch = (windowSpec.width * bytesPerPixel() + 3) & ~3;
  surface_.assign(static_cast<size_t>(pitch) * windowSpec.height, 0);
  return true;
}

void ScriptedWindowSystem::destroyWindow() {
  Lock lock(mutex_);
  if (!open_) return;
  open_ = false;
  ++destroyed_;
  surface_.clear();
  timers_.clear();
  captured_ = false;
}

bool ScriptedWindowSystem::hasWindow() const {
  Lock lock(mutex_);
  return open_;
}

void ScriptedWindowSystem::setTitle(const std::string& title) {
  Lock lock(mutex_);
  window_.title = title;
}

void ScriptedWindowSystem::moveWindow(int32_t x, int32_t y) {
  Lock lock(mutex_);
  window_.x = x;
  window_.y = y;
}

WindowRect ScriptedWindowSystem::windowRect() {
  Lock lock(mutex_);
  WindowRect client = clientRectLocked();
  if (window_.frameless || window_.fullScreen) return client;
  return {client.left - frameSide, client.top - frameTop, client.right + frameSide,
          client.bottom + frameSide};
}

WindowRect ScriptedWindowSystem::clientRectLocked() const {
  bool framed = !window_.frameless && !window_.fullScreen;
  int32_t left = window_.x + (framed ? frameSide : 0);
  int32_t top = window_.y + (framed ? frameTop : 0);
  return {left, top, left + window_.width, top + window_.height};
}

WindowRect ScriptedWindowSystem::clientRectOnScreen() {
  Lock lock(mutex_);
  return clientRectLocked();
}

WindowRect ScriptedWindowSystem::screenRect() {
  Lock lock(mutex_);
  if (modeSet_) return {0, 0, mode_.width, mode_.height};
  return {0, 0, screenWidth_, screenHeight_};
}

void ScriptedWindowSystem::dispatchMessages(void (*procedure)(const WindowMessage& message)) {
  Lock lock(mutex_);
  dispatching_ = true;
  while (!queue_.empty()) {
    WindowMessage message = queue_.front();
    queue_.erase(queue_.begin());
    lock.unlock();
    procedure(message);
    lock.lock();
  }
  dispatching_ = false;
  ++dispatchCount_;
  changed_.notify_all();
}

DisplayFormat ScriptedWindowSystem::displayFormat() {
  Lock lock(mutex_);
  return format_;
}

PixelSurface ScriptedWindowSystem::surface() {
  Lock lock(mutex_);
  if (!open_ || !surfaceAvailable_) return {nullptr, 0};
  return {surface_.data(), (window_.width * bytesPerPixel() + 3) & ~3, true};
}

void ScriptedWindowSystem::record(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last,
                                  bool fromSurface) {
  Presentation presentation{
      first, last, fromSurface, Clock::now(), bytesPerPixel(), window_.width * bytesPerPixel(), {}};
  for (int32_t row = first; row <= last; ++row) {
    const uint8_t* start = pixels + static_cast<size_t>(row) * pitch;
    presentation.rows.insert(presentation.rows.end(), start, start + presentation.bytesPerRow);
  }
  presentations_.push_back(std::move(presentation));
  ++presentationTotal_;
  changed_.notify_all();
}

bool ScriptedWindowSystem::presentRows(int32_t first, int32_t last) {
  Lock lock(mutex_);
  if (!open_ || failPresentations_ || first < 0 || last >= window_.height || first > last)
    return false;
  record(surface_.data(), (window_.width * bytesPerPixel() + 3) & ~3, first, last, true);
  return true;
}

bool ScriptedWindowSystem::presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first,
                                         int32_t last) {
  Lock lock(mutex_);
  if (!open_ || failPresentations_ || first < 0 || last >= window_.height || first > last ||
      pitch % presentRowAlignment != 0)
    return false;
  record(pixels, pitch, first, last, false);
  return true;
}

void ScriptedWindowSystem::failPresentations(bool fail) {
  Lock lock(mutex_);
  failPresentations_ = fail;
}

int32_t ScriptedWindowSystem::refreshRate() {
  Lock lock(mutex_);
  return refreshRate_;
}

void ScriptedWindowSystem::finishRound() {
  Lock lock(mutex_);
  finishWaiting_ = finishHeld_;
  changed_.notify_all();
  changed_.wait(lock, [&] { return !finishHeld_; });
  finishWaiting_ = false;
}

void ScriptedWindowSystem::waitForRetrace(int32_t) {
  Lock lock(mutex_);
  ++retraceWaits_;
}

void ScriptedWindowSystem::virtualKeyState(uint8_t state[256]) {
  Lock lock(mutex_);
  std::memcpy(state, virtualKeys_, 256);
}

bool ScriptedWindowSystem::scanCodeState(uint8_t state[256]) {
  Lock lock(mutex_);
  std::memcpy(state, scanCodes_, 256);
  return scanCodesReadable_;
}

void ScriptedWindowSystem::setScanCodesReadable(bool readable) {
  Lock lock(mutex_);
  scanCodesReadable_ = readable;
}

void ScriptedWindowSystem::pointerPosition(int32_t* x, int32_t* y) {
  Lock lock(mutex_);
  *x = pointerX_;
  *y = pointerY_;
}

bool ScriptedWindowSystem::canMovePointer() {
  Lock lock(mutex_);
  return pointerMovable_;
}

void ScriptedWindowSystem::setPointerMovable(bool movable) {
  Lock lock(mutex_);
  pointerMovable_ = movable;
}

void ScriptedWindowSystem::movePointer(int32_t x, int32_t y) {
  Lock lock(mutex_);
  if (!pointerMovable_) return;
  if (confined_ && open_) {
    WindowRect client = clientRectLocked();
    x = std::clamp(x, client.left, client.right - 1);
    y = std::clamp(y, client.top, client.bottom - 1);
  }
  pointerX_ = x;
  pointerY_ = y;
}

bool ScriptedWindowSystem::pointerOverThisWindow() {
  Lock lock(mutex_);
  if (!open_) return false;
  if (overThisWindow_ >= 0) return overThisWindow_ == 1;
  return clientRectLocked().contains(pointerX_, pointerY_);
}

void ScriptedWindowSystem::confinePointer(bool confined) {
  Lock lock(mutex_);
  confined_ = confined && open_;
}

void ScriptedWindowSystem::showPointer(bool visible) {
  Lock lock(mutex_);
  visible_ = visible;
}

void ScriptedWindowSystem::capturePointer(bool captured) {
  Lock lock(mutex_);
  captured_ = captured && open_;
}

bool ScriptedWindowSystem::pointerCaptured() {
  Lock lock(mutex_);
  return captured_;
}

void ScriptedWindowSystem::startTimer(int32_t id, int32_t intervalMs) {
  Lock lock(mutex_);
  if (open_) timers_[id] = intervalMs;
}

void ScriptedWindowSystem::stopTimer(int32_t id) {
  Lock lock(mutex_);
  timers_.erase(id);
}

std::vector<DisplayMode> ScriptedWindowSystem::displayModes() {
  Lock lock(mutex_);
  return modes_;
}

bool ScriptedWindowSystem::setDisplayMode(const DisplayMode& mode) {
  Lock lock(mutex_);
  for (const DisplayMode& offered : modes_) {
    if (offered.width == mode.width && offered.height == mode.height) {
      modeSet_ = true;
      mode_ = offered;
      return true;
    }
  }
  return false;
}

void ScriptedWindowSystem::restoreDisplayMode() {
  Lock lock(mutex_);
  modeSet_ = false;
  mode_ = {};
}

void ScriptedWindowSystem::suspendScreenSaver() {
  Lock lock(mutex_);
  screenSaverSuspended_ = true;
}

void ScriptedWindowSystem::restoreScreenSaver() {
  Lock lock(mutex_);
  screenSaverSuspended_ = false;
}

void ScriptedWindowSystem::bell() {
  Lock lock(mutex_);
  ++bells_;
}

// --- Provider ---

namespace {
ScriptedWindowSystem* scripted;
PresentPath openedPath = PresentPath::clientPixels;
WindowSystemProvider savedProvider;
bool providerSaved;

WindowSystem* openScripted(PresentPath path) {
  openedPath = path;
  return scripted;
}
void closeScripted(WindowSystem*) {}
}  // namespace

void useScriptedWindowSystem(ScriptedWindowSystem& system) {
  if (!providerSaved) savedProvider = windowSystemProvider;
  providerSaved = true;
  scripted = &system;
  windowSystemProvider = {openScripted, closeScripted, nullptr};
}

void restoreWindowSystemProvider() {
  if (providerSaved) windowSystemProvider = savedProvider;
  providerSaved = false;
  scripted = nullptr;
}

PresentPath lastScriptedPath() { return openedPath; }

WindowMessage scriptedMessage(MessageKind kind) { return windowMessage(kind); }

WindowMessage scriptedActivation(bool active, bool minimised) {
  WindowMessage message = scriptedMessage(MessageKind::activate);
  message.active = active;
  message.minimised = minimised;
  return message;
}

WindowMessage scriptedKey(MessageKind kind, int32_t virtualKey, int32_t scanCode) {
  WindowMessage message = scriptedMessage(kind);
  message.virtualKey = virtualKey;
  message.scanCode = scanCode;
  return message;
}

}  // namespace krgfx
