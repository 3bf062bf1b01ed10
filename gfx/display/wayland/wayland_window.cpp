// The one window: an xdg_toplevel of fixed size with the title and an app id
// from the program's name, a server-side frame unless it has none, full
// screen through set_fullscreen, and the idle inhibitor while a mode is open.
#include <errno.h>

#include <cstring>
#include <thread>

#include <krgfx/gfx.h>
#include "gfx/display/wayland/wayland_connection.h"

namespace krgfx {

namespace {

WaylandWindowSystem* systemOf(void* data) { return static_cast<WaylandWindowSystem*>(data); }

void onSurfaceConfigure(void* data, xdg_surface*, uint32_t serial) {
  systemOf(data)->surfaceConfigure(serial);
}
const xdg_surface_listener surfaceListener{onSurfaceConfigure};

void onToplevelConfigure(void* data, xdg_toplevel*, int32_t, int32_t, wl_array* states) {
  systemOf(data)->toplevelConfigure(states);
}
void onToplevelClose(void* data, xdg_toplevel*) { systemOf(data)->toplevelClose(); }
// Bound at version 1: no bounds or capabilities events come.
const xdg_toplevel_listener toplevelListener{.configure = onToplevelConfigure,
                                             .close = onToplevelClose,
                                             .configure_bounds = nullptr,
                                             .wm_capabilities = nullptr};

constexpr auto configureTimeout = std::chrono::seconds(2);
constexpr auto entryWait = std::chrono::milliseconds(100);

}  // namespace

// The program's name, as desktop files name an application.
std::string WaylandWindowSystem::appId() {
  const char* name = program_invocation_short_name;
  return name && *name ? name : "krgfx";
}

void WaylandWindowSystem::surfaceConfigure(uint32_t serial) {
  xdg_surface_ack_configure(xdgSurface_, serial);
  configured_ = true;
}

// The window's size is fixed: only the maximised state matters, which asks
// for full screen when the window offers it.
void WaylandWindowSystem::toplevelConfigure(wl_array* states) {
  bool maximised = false;
  for (auto* state = static_cast<uint32_t*>(states->data);
       reinterpret_cast<char*>(state) < static_cast<char*>(states->data) + states->size; ++state)
    if (*state == XDG_TOPLEVEL_STATE_MAXIMIZED) maximised = true;
  noteMaximised(maximised);
}

void WaylandWindowSystem::noteMaximised(bool maximised) {
  if (maximised && !maximised_ && canMaximise_)
    pending_.push_back(windowMessage(MessageKind::maximise));
  maximised_ = maximised;
}

bool WaylandWindowSystem::waitForConfigure() {
  auto deadline = Clock::now() + configureTimeout;
  while (!dead_ && !configured_ && Clock::now() < deadline) {
    if (wl_display_dispatch_pending(display_) < 0 || wl_display_roundtrip(display_) < 0) noteLost();
    if (!configured_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return configured_ && !dead_;
}

// Waits (briefly) until the compositor has shown the window and sent the
// pointer's and keyboard's entry if they come.
bool WaylandWindowSystem::awaitEntry() {
  auto deadline = Clock::now() + entryWait;
  while (!dead_ && !(pointerInside_ && focused_) && Clock::now() < deadline) {
    if (wl_display_roundtrip(display_) < 0) noteLost();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return !dead_;
}

bool WaylandWindowSystem::createWindow(const WindowSpec& windowSpec) {
  if (dead_ || surface_ || windowSpec.width <= 0 || windowSpec.height <= 0) return false;
  width_ = windowSpec.width;
  height_ = windowSpec.height;
  originX_ = windowSpec.x;
  originY_ = windowSpec.y;
  picture_ = windowSpec.picture;
  canMaximise_ = windowSpec.canMaximise;
  colourKeyed_ = !windowSpec.fullScreen && (windowLayer.flags & flagColourKeyed);
  bufferScale_ = outputScale_ > 1 && width_ % outputScale_ == 0 && height_ % outputScale_ == 0
                     ? outputScale_
                     : 1;
  maximised_ = configured_ = false;
  surface_ = wl_compositor_create_surface(compositor_);
  wl_surface_set_buffer_scale(surface_, bufferScale_);
  startViewport();
  bool made = !windowSpec.frameless && !windowSpec.fullScreen && startFrame(windowSpec.title);
  if (!made) makeToplevel(windowSpec);
  if (!waitForConfigure() || !createBuffers()) {
    frameBroken_ = frameBroken_ || made;
    destroyWindow();
    return false;
  }
  // The first picture is black, all of it. The keyboard and the pointer
  // enter once the compositor shows it: a program that reads the pointer
  // straight away finds it over the window when it is.
  if (!showRows(0, height_ - 1) || !awaitEntry()) {
    destroyWindow();
    return false;
  }
  inhibitIdle();
  return true;
}

// A top-level window of its own, its frame (if any) the compositor's.
void WaylandWindowSystem::makeToplevel(const WindowSpec& windowSpec) {
  xdgSurface_ = xdg_wm_base_get_xdg_surface(wmBase_, surface_);
  xdg_surface_add_listener(xdgSurface_, &surfaceListener, this);
  toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
  xdg_toplevel_add_listener(toplevel_, &toplevelListener, this);
  xdg_toplevel_set_title(toplevel_, windowSpec.title.c_str());
  xdg_toplevel_set_app_id(toplevel_, appId().c_str());
  if (windowSpec.fullScreen) {
    xdg_toplevel_set_fullscreen(toplevel_, output_);
  } else {
    xdg_toplevel_set_min_size(toplevel_, logicalWidth(), logicalHeight());
    xdg_toplevel_set_max_size(toplevel_, logicalWidth(), logicalHeight());
  }
  if (decorations_) {
    decoration_ = zxdg_decoration_manager_v1_get_toplevel_decoration(decorations_, toplevel_);
    zxdg_toplevel_decoration_v1_set_mode(
        decoration_, windowSpec.frameless ? ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE
                                          : ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
  }
  wl_surface_commit(surface_);
}

void WaylandWindowSystem::destroyWindow() {
  if (!surface_) return;
  endIdleInhibitor();
  confinePointer(false);
  endFrame();
  endViewport();
  if (decoration_) zxdg_toplevel_decoration_v1_destroy(decoration_);
  if (toplevel_) xdg_toplevel_destroy(toplevel_);
  if (xdgSurface_) xdg_surface_destroy(xdgSurface_);
  wl_surface_destroy(surface_);
  destroyBuffers();
  decoration_ = nullptr;
  toplevel_ = nullptr;
  xdgSurface_ = nullptr;
  surface_ = nullptr;
  if (!dead_ && wl_display_flush(display_) < 0 && errno != EAGAIN) noteLost();
  pointerInside_ = focused_ = captured_ = false;
  keys_.forgetHeldKeys();
  keysDown_.clear();
  repeatKey_ = 0;
  clicks_.reset();
  timers_.clear();
  pending_.clear();
}

void WaylandWindowSystem::setTitle(const std::string& title) {
  if (!hasWindow()) return;
  if (toplevel_) xdg_toplevel_set_title(toplevel_, title.c_str());
  setFrameTitle(title);
  wl_display_flush(display_);
}

// A Wayland client cannot place its window: the compositor does. The client
// area stays where the window layer first put it in its own reckoning.
void WaylandWindowSystem::moveWindow(int32_t, int32_t) {}

WindowRect WaylandWindowSystem::clientRectOnScreen() {
  if (!hasWindow()) return {0, 0, 0, 0};
  return {originX_, originY_, originX_ + width_, originY_ + height_};
}

// The screen saver stays off while the mode is open: an idle inhibitor on
// each window the mode shows (the compositor honours it while the window is
// visible).
void WaylandWindowSystem::suspendScreenSaver() {
  saverSuspended_ = true;
  inhibitIdle();
}

void WaylandWindowSystem::restoreScreenSaver() {
  saverSuspended_ = false;
  endIdleInhibitor();
}

void WaylandWindowSystem::inhibitIdle() {
  if (!saverSuspended_ || !hasWindow() || !idleManager_ || inhibitor_) return;
  inhibitor_ = zwp_idle_inhibit_manager_v1_create_inhibitor(idleManager_, surface_);
  wl_display_flush(display_);
}

void WaylandWindowSystem::endIdleInhibitor() {
  if (!inhibitor_) return;
  zwp_idle_inhibitor_v1_destroy(inhibitor_);
  inhibitor_ = nullptr;
  if (!dead_) wl_display_flush(display_);
}

}  // namespace krgfx
