// The Wayland implementation of WindowSystem, shared by its source files.
// Only the Wayland back end includes this header.
#pragma once

#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fractional-scale-v1-client-protocol.h"
#include "gfx/display/posix/event_waiter.h"
#include "gfx/display/posix/key_messages.h"
#include "gfx/display/window_layer.h"
#include "gfx/display/window_timers.h"
#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "input/double_click.h"
#include "pointer-constraints-unstable-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct libdecor;
struct libdecor_frame;

namespace krgfx {

// One wl_shm buffer of the window's size and the rows it has not yet been
// given since it was last shown.
struct ShmBuffer {
  wl_buffer* buffer = nullptr;
  uint8_t* pixels = nullptr;
  bool busy = false;  // the compositor holds it until its release event
  int32_t staleFirst = 0, staleLast = -1;
};

class WaylandWindowSystem : public WindowSystem {
 public:
  using Clock = std::chrono::steady_clock;

  // Connects to the compositor; false when that fails or it lacks what the
  // window needs (wl_compositor, wl_shm, xdg_wm_base).
  bool connect();
  ~WaylandWindowSystem() override;

  bool createWindow(const WindowSpec& windowSpec) override;
  void destroyWindow() override;
  bool hasWindow() const override { return surface_ != nullptr && !dead_; }
  void setTitle(const std::string& title) override;
  void moveWindow(int32_t x, int32_t y) override;
  WindowRect windowRect() override { return clientRectOnScreen(); }
  WindowRect clientRectOnScreen() override;
  WindowRect screenRect() override;
  int32_t desktopDpi() override;
  void dispatchMessages(void (*procedure)(const WindowMessage& message)) override;
  DisplayFormat displayFormat() override { return {32, 0}; }
  PixelSurface surface() override;
  bool presentRows(int32_t first, int32_t last) override;
  bool presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) override;
  int32_t refreshRate() override { return refreshMilliHz_ / 1000; }
  void waitForRetrace(int32_t timeoutMs) override;
  void waitForEvents(int32_t timeoutMs) override;
  void wakeWaiter() override { waiter_.wake(); }
  bool quietUntilWoken() override;
  void virtualKeyState(uint8_t state[256]) override;
  bool scanCodeState(uint8_t state[256]) override;
  void pointerPosition(int32_t* x, int32_t* y) override;
  void movePointer(int32_t x, int32_t y) override;
  bool canMovePointer() override { return false; }
  bool pointerOverThisWindow() override { return hasWindow() && pointerInside_; }
  void confinePointer(bool confined) override;
  void showPointer(bool visible) override;
  void capturePointer(bool captured) override { captured_ = captured && hasWindow(); }
  bool pointerCaptured() override { return captured_; }
  void startTimer(int32_t id, int32_t intervalMs) override;
  void stopTimer(int32_t id) override { timers_.stop(id); }
  std::vector<DisplayMode> displayModes() override;
  bool setDisplayMode(const DisplayMode& mode) override;
  void restoreDisplayMode() override {}
  void suspendScreenSaver() override;
  void restoreScreenSaver() override;
  void bell() override {}

  // Listener entry points (the protocol callbacks call these).
  void addGlobal(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
  void removeGlobal(uint32_t name);
  void outputMode(int32_t width, int32_t height, int32_t refresh);
  void outputScale(int32_t scale) { outputScale_ = scale; }
  void seatCapabilities(uint32_t capabilities);
  void toplevelConfigure(wl_array* states);
  void noteMaximised(bool maximised);
  // libdecor's frame: its configure (the window's own size, always) and
  // the main surface's commit it asks for.
  void frameConfigured() { configured_ = true; }
  // The window's size in surface units: the buffer's divided by its scale,
  // or through the viewport at the compositor's fractional scale.
  int32_t logicalWidth() const;
  int32_t logicalHeight() const;
  void preferredScale(uint32_t scale120);
  void commitSurface() {
    if (surface_) wl_surface_commit(surface_);
  }
  void surfaceConfigure(uint32_t serial);
  void toplevelClose() { pending_.push_back(windowMessage(MessageKind::close)); }
  void bufferReleased(wl_buffer* buffer);
  void keymap(uint32_t format, int fd, uint32_t size);
  void keyboardEnter(wl_array* keys);
  void keyboardLeave();
  void key(uint32_t time, uint32_t key, uint32_t state);
  void keyModifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);
  void repeatInfo(int32_t rate, int32_t delay) {
    repeatRate_ = rate;
    repeatDelay_ = delay;
  }
  void pointerEnter(uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y);
  void pointerLeave(wl_surface* surface);
  void pointerMotion(wl_fixed_t x, wl_fixed_t y);
  void pointerButton(uint32_t time, uint32_t button, uint32_t state);
  void pointerAxis(uint32_t axis, wl_fixed_t value);
  void pointerAxisDiscrete(uint32_t axis, int32_t steps);
  void pointerFrame();

 private:
  static std::string appId();
  void makeToplevel(const WindowSpec& windowSpec);
  void startViewport();
  void endViewport();
  void applyViewport();
  // A frame drawn by libdecor round a window that has one, where the
  // compositor draws none; false (and nothing made) without libdecor.
  bool startFrame(const std::string& title);
  void endFrame();
  void setFrameContentSize();
  void closeFrameContext();
  void setFrameTitle(const std::string& title);
  bool createBuffers();
  uint32_t keyColour() const;
  void copyRows(uint8_t* target, int32_t first, int32_t last) const;
  void destroyBuffers();
  ShmBuffer* freeBuffer();
  bool showRows(int32_t first, int32_t last);
  bool waitForConfigure();
  bool awaitEntry();
  void inhibitIdle();
  void endIdleInhibitor();
  bool roundTrip();
  void noteLost();
  void applyCursor();
  bool cursorHiddenHere() const;
  void deliverKey(uint32_t keycode, bool press);
  void repeatHeldKey(std::vector<WindowMessage>& messages);
  void wheel(bool vertical, int32_t steps);
  void pointerMessage(MessageKind kind, int32_t button = 0);
  void notePointerAt(wl_fixed_t x, wl_fixed_t y);
  void attachPointerListener();

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  xdg_wm_base* wmBase_ = nullptr;
  wl_seat* seat_ = nullptr;
  uint32_t seatName_ = 0;
  wl_output* output_ = nullptr;
  zxdg_decoration_manager_v1* decorations_ = nullptr;
  zwp_idle_inhibit_manager_v1* idleManager_ = nullptr;
  zwp_pointer_constraints_v1* constraints_ = nullptr;
  wp_viewporter* viewporter_ = nullptr;
  wp_fractional_scale_manager_v1* fractionalScales_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  wl_pointer* pointer_ = nullptr;
  bool dead_ = false;
  bool deathReported_ = false;
  // The window.
  wl_surface* surface_ = nullptr;
  xdg_surface* xdgSurface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  zxdg_toplevel_decoration_v1* decoration_ = nullptr;
  libdecor* decor_ = nullptr;  // made with the first framed window
  libdecor_frame* frame_ = nullptr;
  bool frameBroken_ = false;  // a framed window never configured: no more frames
  zwp_idle_inhibitor_v1* inhibitor_ = nullptr;
  bool saverSuspended_ = false;  // while a mode is open
  zwp_confined_pointer_v1* confinement_ = nullptr;
  bool configured_ = false;
  bool canMaximise_ = false;
  bool maximised_ = false;
  int32_t originX_ = 0, originY_ = 0;  // where the layer placed the client area
  int32_t width_ = 0, height_ = 0;     // in buffer pixels
  // Buffer pixels per surface unit: the output's scale when the client area
  // divides by it, so that each pixel is shown as one of the output's.
  int32_t bufferScale_ = 1;
  // Where the compositor offers fractional scales and viewports: the
  // buffer is shown pixel for pixel through a viewport at its preferred
  // scale (in 120ths, 0 until it says), kept for the next window.
  wp_viewport* viewport_ = nullptr;
  wp_fractional_scale_v1* fractionalScale_ = nullptr;
  int32_t preferredScale120_ = 0;
  WindowRect picture_{};
  // Pixels: the picture as the program last showed it, and the buffers.
  std::vector<uint8_t> picturePixels_;
  int32_t pitch_ = 0;
  ShmBuffer buffers_[3];
  // A colour-keyed window: ARGB buffers whose pixels of the key colour are
  // transparent (alpha 0), so the desktop shows through them.
  bool colourKeyed_ = false;
  int32_t bufferCount_ = 0;
  // Output.
  int32_t screenWidth_ = 0, screenHeight_ = 0, refreshMilliHz_ = 0, outputScale_ = 1;
  // Keyboard.
  xkb_context* xkb_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* keyState_ = nullptr;
  KeyMessageBuilder keys_;
  std::set<uint32_t> keysDown_;  // X key codes
  bool focused_ = false;
  int32_t repeatRate_ = 25, repeatDelay_ = 600;
  uint32_t repeatKey_ = 0;  // X key code repeating, 0 for none
  Clock::time_point repeatDue_{};
  // Pointer.
  uint32_t enterSerial_ = 0;
  bool pointerInside_ = false;
  bool pointerVisible_ = true;
  bool cursorHidden_ = false;  // as last set
  bool confined_ = false;
  bool captured_ = false;
  int32_t pointerX_ = 0, pointerY_ = 0;  // client coordinates
  double axisRest_[2] = {0, 0};          // wheel motion without whole steps yet
  bool axisDiscreteSeen_[2] = {false, false};
  wl_cursor_theme* cursorTheme_ = nullptr;
  wl_surface* cursorSurface_ = nullptr;
  DoubleClickDetector clicks_;
  // Messages gathered from the callbacks, delivered by dispatchMessages.
  std::vector<WindowMessage> pending_;
  WindowTimers timers_;
  EventWaiter waiter_;  // ends a waitForEvents early
  Clock::time_point retraceEpoch_ = Clock::now();
};

}  // namespace krgfx
