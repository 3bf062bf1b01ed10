// Fractional scales (wp_fractional_scale with wp_viewporter, where the
// compositor offers both): the buffer keeps the picture at a whole scale
// and the viewport gives the surface the logical size that shows each of
// its pixels as one of the output's, so they stay crisp squares.
#include "gfx/display/display_scale.h"
#include "gfx/display/wayland/wayland_connection.h"

namespace krgfx {

namespace {

void onPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale120) {
  static_cast<WaylandWindowSystem*>(data)->preferredScale(scale120);
}
const wp_fractional_scale_v1_listener fractionalScaleListener{onPreferredScale};

}  // namespace

int32_t WaylandWindowSystem::logicalWidth() const {
  return viewport_ && preferredScale120_ > 0 ? logicalLength(width_, preferredScale120_)
                                             : width_ / bufferScale_;
}

int32_t WaylandWindowSystem::logicalHeight() const {
  return viewport_ && preferredScale120_ > 0 ? logicalLength(height_, preferredScale120_)
                                             : height_ / bufferScale_;
}

// A viewport on the window's surface: its size follows the compositor's
// preferred scale whenever it tells one (until then, the output's scale).
void WaylandWindowSystem::startViewport() {
  if (!viewporter_ || !fractionalScales_ || viewport_) return;
  viewport_ = wp_viewporter_get_viewport(viewporter_, surface_);
  fractionalScale_ = wp_fractional_scale_manager_v1_get_fractional_scale(fractionalScales_,
                                                                         surface_);
  wp_fractional_scale_v1_add_listener(fractionalScale_, &fractionalScaleListener, this);
  applyViewport();
}

void WaylandWindowSystem::endViewport() {
  if (fractionalScale_) wp_fractional_scale_v1_destroy(fractionalScale_);
  if (viewport_) wp_viewport_destroy(viewport_);
  fractionalScale_ = nullptr;
  viewport_ = nullptr;
}

void WaylandWindowSystem::applyViewport() {
  if (viewport_) wp_viewport_set_destination(viewport_, logicalWidth(), logicalHeight());
}

// A new scale: the same buffer at the new logical size (the picture's own
// scale changes with the next window, which asks the DPI again).
void WaylandWindowSystem::preferredScale(uint32_t scale120) {
  if (scale120 == 0 || static_cast<int32_t>(scale120) == preferredScale120_) return;
  preferredScale120_ = static_cast<int32_t>(scale120);
  if (!viewport_) return;
  applyViewport();
  if (toplevel_) {
    xdg_toplevel_set_min_size(toplevel_, logicalWidth(), logicalHeight());
    xdg_toplevel_set_max_size(toplevel_, logicalWidth(), logicalHeight());
  }
  setFrameContentSize();
  if (configured_) wl_surface_commit(surface_);
}

}  // namespace krgfx
