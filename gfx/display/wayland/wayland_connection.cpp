// The Wayland connection: the compositor's globals, the output's mode and
// scale, and the seat. A protocol error or a compositor that goes away marks
// the connection lost; the window layer then hears the window is destroyed.
#include "gfx/display/wayland/wayland_connection.h"

#include <cstring>

#include "gfx/display/platform_window_system.h"

namespace krgfx {

namespace {

WaylandWindowSystem* systemOf(void* data) { return static_cast<WaylandWindowSystem*>(data); }

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
  systemOf(data)->addGlobal(registry, name, interface, version);
}
void onGlobalRemove(void* data, wl_registry*, uint32_t name) { systemOf(data)->removeGlobal(name); }
const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onOutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                      const char*, int32_t) {}
void onOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height,
                  int32_t refresh) {
  if (flags & WL_OUTPUT_MODE_CURRENT) systemOf(data)->outputMode(width, height, refresh);
}
void onOutputDone(void*, wl_output*) {}
void onOutputScale(void* data, wl_output*, int32_t factor) { systemOf(data)->outputScale(factor); }
// Bound at version 2: no name or description events come.
const wl_output_listener outputListener{.geometry = onOutputGeometry,
                                        .mode = onOutputMode,
                                        .done = onOutputDone,
                                        .scale = onOutputScale,
                                        .name = nullptr,
                                        .description = nullptr};

void onPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener wmBaseListener{onPing};

void onSeatCapabilities(void* data, wl_seat*, uint32_t capabilities) {
  systemOf(data)->seatCapabilities(capabilities);
}
void onSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener{onSeatCapabilities, onSeatName};

template <typename Proxy>
Proxy* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
            uint32_t wanted) {
  return static_cast<Proxy*>(
      wl_registry_bind(registry, name, interface, offered < wanted ? offered : wanted));
}

}  // namespace

void WaylandWindowSystem::addGlobal(wl_registry* registry, uint32_t name, const char* interface,
                                    uint32_t version) {
  std::string_view kind = interface;
  if (kind == wl_compositor_interface.name && version >= 4) {
    compositor_ = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
  } else if (kind == wl_shm_interface.name) {
    shm_ = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
  } else if (kind == xdg_wm_base_interface.name) {
    wmBase_ = bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 1);
    xdg_wm_base_add_listener(wmBase_, &wmBaseListener, this);
  } else if (kind == wl_seat_interface.name && !seat_) {
    seat_ = bind<wl_seat>(registry, name, &wl_seat_interface, version, 5);
    seatName_ = name;
    wl_seat_add_listener(seat_, &seatListener, this);
  } else if (kind == wl_output_interface.name && !output_) {
    output_ = bind<wl_output>(registry, name, &wl_output_interface, version, 2);
    wl_output_add_listener(output_, &outputListener, this);
  } else if (kind == zxdg_decoration_manager_v1_interface.name) {
    decorations_ = bind<zxdg_decoration_manager_v1>(
        registry, name, &zxdg_decoration_manager_v1_interface, version, 1);
  } else if (kind == zwp_idle_inhibit_manager_v1_interface.name) {
    idleManager_ = bind<zwp_idle_inhibit_manager_v1>(
        registry, name, &zwp_idle_inhibit_manager_v1_interface, version, 1);
  } else if (kind == wp_viewporter_interface.name) {
    viewporter_ = bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
  } else if (kind == wp_fractional_scale_manager_v1_interface.name) {
    fractionalScales_ = bind<wp_fractional_scale_manager_v1>(
        registry, name, &wp_fractional_scale_manager_v1_interface, version, 1);
  } else if (kind == zwp_pointer_constraints_v1_interface.name) {
    constraints_ = bind<zwp_pointer_constraints_v1>(
        registry, name, &zwp_pointer_constraints_v1_interface, version, 1);
  }
}

// A seat that goes away takes its keyboard and pointer with it.
void WaylandWindowSystem::removeGlobal(uint32_t name) {
  if (name != seatName_ || !seat_) return;
  seatCapabilities(0);
  wl_seat_destroy(seat_);
  seat_ = nullptr;
}

void WaylandWindowSystem::outputMode(int32_t width, int32_t height, int32_t refresh) {
  screenWidth_ = width;
  screenHeight_ = height;
  refreshMilliHz_ = refresh;
}

bool WaylandWindowSystem::connect() {
  display_ = wl_display_connect(nullptr);
  if (!display_) return false;
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &registryListener, this);
  // The globals, then the events of the ones bound (output mode, seat).
  if (!roundTrip() || !roundTrip()) return false;
  if (!compositor_ || !shm_ || !wmBase_) return false;
  xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  return xkb_ != nullptr;
}

bool WaylandWindowSystem::roundTrip() {
  if (!dead_ && wl_display_roundtrip(display_) < 0) noteLost();
  return !dead_;
}

// The compositor went away or refused a request: nothing more is sent.
void WaylandWindowSystem::noteLost() { dead_ = true; }

WaylandWindowSystem::~WaylandWindowSystem() {
  if (!display_) return;
  destroyWindow();
  closeFrameContext();
  seatCapabilities(0);
  if (cursorSurface_) wl_surface_destroy(cursorSurface_);
  if (cursorTheme_) wl_cursor_theme_destroy(cursorTheme_);
  if (keyState_) xkb_state_unref(keyState_);
  if (keymap_) xkb_keymap_unref(keymap_);
  if (xkb_) xkb_context_unref(xkb_);
  // The globals' proxies are freed on this side only: the compositor forgets
  // a client's objects when it disconnects, and a lost connection takes no
  // more requests. The display does not free them itself.
  void* globals[] = {seat_,        output_,     decorations_,      idleManager_,
                     constraints_, viewporter_, fractionalScales_, wmBase_,
                     shm_,         compositor_, registry_};
  for (void* proxy : globals)
    if (proxy) wl_proxy_destroy(static_cast<wl_proxy*>(proxy));
  wl_display_disconnect(display_);
}

WindowRect WaylandWindowSystem::screenRect() {
  if (dead_) return {0, 0, 0, 0};
  return {0, 0, screenWidth_, screenHeight_};
}

// A fractional scale counts at the whole scale below it, once known.
int32_t WaylandWindowSystem::desktopDpi() {
  if (dead_) return 0;
  return 96 * (preferredScale120_ > 0 ? wholeScaleWithin(preferredScale120_) : outputScale_);
}

// The one mode a Wayland client sees: the output's own.
std::vector<DisplayMode> WaylandWindowSystem::displayModes() {
  if (dead_ || screenWidth_ <= 0) return {};
  return {{screenWidth_, screenHeight_, refreshRate()}};
}

bool WaylandWindowSystem::setDisplayMode(const DisplayMode& mode) {
  return !dead_ && mode.width == screenWidth_ && mode.height == screenHeight_ &&
         (mode.refreshRate == 0 || mode.refreshRate == refreshRate());
}

void WaylandWindowSystem::waitForRetrace(int32_t timeoutMs) {
  sleepUntilNextFrame(retraceEpoch_, refreshRate(), timeoutMs);
}

WindowSystem* openWaylandWindowSystem(PresentPath) {
  auto* system = new WaylandWindowSystem;
  if (!system->connect()) {
    delete system;
    return nullptr;
  }
  return system;
}

}  // namespace krgfx
