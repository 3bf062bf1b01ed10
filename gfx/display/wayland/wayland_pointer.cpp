// The pointer: enter, leave, motion, buttons and wheel steps to messages;
// the arrow from the cursor theme or no pointer over the window, set again on
// every enter; confinement through pointer-constraints.
#include <linux/input-event-codes.h>

#include <cmath>

#include "gfx/display/wayland/wayland_connection.h"

namespace krgfx {

namespace {

constexpr int32_t wheelStep = 120;
constexpr double axisUnitsPerStep = 10.0;  // a wheel notch without discrete steps
constexpr int32_t cursorSize = 24;

WaylandWindowSystem* systemOf(void* data) { return static_cast<WaylandWindowSystem*>(data); }

// Only the window's own surface counts: a frame drawn round it (libdecor)
// is outside, and handles its own pointer.
void onEnter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x,
             wl_fixed_t y) {
  systemOf(data)->pointerEnter(serial, surface, x, y);
}
void onLeave(void* data, wl_pointer*, uint32_t, wl_surface* surface) {
  systemOf(data)->pointerLeave(surface);
}
void onMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
  systemOf(data)->pointerMotion(x, y);
}
void onButton(void* data, wl_pointer*, uint32_t, uint32_t time, uint32_t button, uint32_t state) {
  systemOf(data)->pointerButton(time, button, state);
}
void onAxis(void* data, wl_pointer*, uint32_t, uint32_t axis, wl_fixed_t value) {
  systemOf(data)->pointerAxis(axis, value);
}
void onFrame(void* data, wl_pointer*) { systemOf(data)->pointerFrame(); }
void onAxisSource(void*, wl_pointer*, uint32_t) {}
void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void onAxisDiscrete(void* data, wl_pointer*, uint32_t axis, int32_t steps) {
  systemOf(data)->pointerAxisDiscrete(axis, steps);
}
// Bound at version 5 at most: no high-resolution wheel events come.
const wl_pointer_listener pointerListener{.enter = onEnter,
                                          .leave = onLeave,
                                          .motion = onMotion,
                                          .button = onButton,
                                          .axis = onAxis,
                                          .frame = onFrame,
                                          .axis_source = onAxisSource,
                                          .axis_stop = onAxisStop,
                                          .axis_discrete = onAxisDiscrete,
                                          .axis_value120 = nullptr};

// Linux button codes to button bits.
int32_t buttonBit(uint32_t button) {
  switch (button) {
    case BTN_LEFT:
      return 0x1;
    case BTN_RIGHT:
      return 0x2;
    case BTN_MIDDLE:
      return 0x4;
    case BTN_SIDE:
      return 0x8;
    case BTN_EXTRA:
      return 0x10;
    default:
      return 0;
  }
}

}  // namespace

void WaylandWindowSystem::attachPointerListener() {
  wl_pointer_add_listener(pointer_, &pointerListener, this);
}

// A pointer message at the pointer's place, which is also where it is on
// the screen in the window layer's reckoning.
void WaylandWindowSystem::pointerMessage(MessageKind kind, int32_t button) {
  WindowMessage result = windowMessage(kind);
  result.x = pointerX_;
  result.y = pointerY_;
  result.button = button;
  result.pointerKnown = true;
  result.screenX = originX_ + pointerX_;
  result.screenY = originY_ + pointerY_;
  pending_.push_back(result);
}

// Surface units to the buffer pixels of the client area.
void WaylandWindowSystem::notePointerAt(wl_fixed_t x, wl_fixed_t y) {
  pointerX_ = static_cast<int32_t>(std::floor(wl_fixed_to_double(x) * width_ / logicalWidth()));
  pointerY_ = static_cast<int32_t>(std::floor(wl_fixed_to_double(y) * height_ / logicalHeight()));
}

void WaylandWindowSystem::pointerEnter(uint32_t serial, wl_surface* surface, wl_fixed_t x,
                                       wl_fixed_t y) {
  if (surface != surface_) return;
  enterSerial_ = serial;
  pointerInside_ = true;
  notePointerAt(x, y);
  applyCursor();  // the pointer shown over another surface is not ours
  pointerMessage(MessageKind::mouseMove);
  pending_.push_back(windowMessage(MessageKind::setCursor));
}

void WaylandWindowSystem::pointerLeave(wl_surface* surface) {
  if (surface != surface_ || !pointerInside_) return;
  pointerInside_ = false;
  pending_.push_back(windowMessage(MessageKind::mouseLeave));
}

// Crossing the picture's edge (a border round it in full screen) is like
// entering or leaving a window of its own: the window layer chooses the
// pointer again.
void WaylandWindowSystem::pointerMotion(wl_fixed_t x, wl_fixed_t y) {
  if (!pointerInside_) return;
  bool wasOverPicture = picture_.contains(pointerX_, pointerY_);
  notePointerAt(x, y);
  if (cursorHiddenHere() != cursorHidden_) applyCursor();
  pointerMessage(MessageKind::mouseMove);
  if (picture_.contains(pointerX_, pointerY_) != wasOverPicture)
    pending_.push_back(windowMessage(MessageKind::setCursor));
}

void WaylandWindowSystem::pointerButton(uint32_t time, uint32_t button, uint32_t state) {
  int32_t bit = buttonBit(button);
  if (!bit || !pointerInside_) return;
  MessageKind kind = MessageKind::buttonUp;
  if (state == WL_POINTER_BUTTON_STATE_PRESSED)
    kind = clicks_.press(bit, time, pointerX_, pointerY_) ? MessageKind::buttonDoubleClick
                                                          : MessageKind::buttonDown;
  pointerMessage(kind, bit);
}

// Wheel steps: forward (away from the user) and right are positive, as
// Wayland counts them the other way round vertically.
void WaylandWindowSystem::wheel(bool vertical, int32_t steps) {
  for (int32_t i = 0; i < std::abs(steps); ++i) {
    pointerMessage(vertical ? MessageKind::wheel : MessageKind::horizontalWheel);
    int32_t sign = steps > 0 ? 1 : -1;
    pending_.back().wheelDelta = (vertical ? -sign : sign) * wheelStep;
  }
}

void WaylandWindowSystem::pointerAxisDiscrete(uint32_t axis, int32_t steps) {
  if (!pointerInside_) return;
  bool vertical = axis == WL_POINTER_AXIS_VERTICAL_SCROLL;
  axisDiscreteSeen_[vertical ? 0 : 1] = true;
  wheel(vertical, steps);
}

// Smooth motion counts only when the frame brought no discrete steps: ten
// units make a step, as a wheel notch gives.
void WaylandWindowSystem::pointerAxis(uint32_t axis, wl_fixed_t value) {
  if (!pointerInside_) return;
  int index = axis == WL_POINTER_AXIS_VERTICAL_SCROLL ? 0 : 1;
  axisRest_[index] += wl_fixed_to_double(value);
}

void WaylandWindowSystem::pointerFrame() {
  for (int index = 0; index < 2; ++index) {
    if (axisDiscreteSeen_[index]) {
      axisRest_[index] = 0;
    } else {
      auto steps = static_cast<int32_t>(std::trunc(axisRest_[index] / axisUnitsPerStep));
      axisRest_[index] -= steps * axisUnitsPerStep;
      wheel(index == 0, steps);
    }
    axisDiscreteSeen_[index] = false;
  }
}

// A hidden pointer is hidden over the picture only: over a black border
// round it (full screen) it stays an arrow.
bool WaylandWindowSystem::cursorHiddenHere() const {
  if (pointerVisible_) return false;
  bool wholeClient = picture_.right <= picture_.left || picture_.bottom <= picture_.top;
  return wholeClient || picture_.contains(pointerX_, pointerY_);
}

void WaylandWindowSystem::applyCursor() {
  if (!pointer_ || !pointerInside_) return;
  cursorHidden_ = cursorHiddenHere();
  if (cursorHidden_) {
    wl_pointer_set_cursor(pointer_, enterSerial_, nullptr, 0, 0);
    return;
  }
  if (!cursorTheme_) cursorTheme_ = wl_cursor_theme_load(nullptr, cursorSize * outputScale_, shm_);
  wl_cursor* arrow = cursorTheme_ ? wl_cursor_theme_get_cursor(cursorTheme_, "left_ptr") : nullptr;
  if (!arrow || arrow->image_count == 0) return;
  wl_cursor_image* image = arrow->images[0];
  wl_buffer* buffer = wl_cursor_image_get_buffer(image);
  if (!buffer) return;
  if (!cursorSurface_) cursorSurface_ = wl_compositor_create_surface(compositor_);
  wl_surface_set_buffer_scale(cursorSurface_, outputScale_);
  wl_surface_attach(cursorSurface_, buffer, 0, 0);
  wl_surface_damage_buffer(cursorSurface_, 0, 0, static_cast<int32_t>(image->width),
                           static_cast<int32_t>(image->height));
  wl_surface_commit(cursorSurface_);
  wl_pointer_set_cursor(pointer_, enterSerial_, cursorSurface_,
                        static_cast<int32_t>(image->hotspot_x) / outputScale_,
                        static_cast<int32_t>(image->hotspot_y) / outputScale_);
}

void WaylandWindowSystem::showPointer(bool visible) {
  if (!hasWindow()) return;
  pointerVisible_ = visible;
  applyCursor();
  wl_display_flush(display_);
}

// Where the pointer was last seen over the window; Wayland tells no more.
// Once it left, a place just above and left of the client area: outside.
void WaylandWindowSystem::pointerPosition(int32_t* x, int32_t* y) {
  *x = pointerInside_ ? originX_ + pointerX_ : originX_ - 1;
  *y = pointerInside_ ? originY_ + pointerY_ : originY_ - 1;
}

// A Wayland client cannot move the pointer (canMovePointer says so).
void WaylandWindowSystem::movePointer(int32_t, int32_t) {}

// Confined to the picture while the compositor offers pointer-constraints.
void WaylandWindowSystem::confinePointer(bool confined) {
  if (confined && !confinement_ && hasWindow() && constraints_ && pointer_) {
    wl_region* region = nullptr;
    int32_t width = picture_.right - picture_.left, height = picture_.bottom - picture_.top;
    if (width > 0 && height > 0) {
      region = wl_compositor_create_region(compositor_);
      auto across = [&](int32_t pixels) { return pixels * logicalWidth() / width_; };
      auto down = [&](int32_t pixels) { return pixels * logicalHeight() / height_; };
      wl_region_add(region, across(picture_.left), down(picture_.top), across(width), down(height));
    }
    confinement_ = zwp_pointer_constraints_v1_confine_pointer(
        constraints_, surface_, pointer_, region, ZWP_POINTER_CONSTRAINTS_V1_LIFETIME_PERSISTENT);
    if (region) wl_region_destroy(region);
    wl_surface_commit(surface_);  // the compositor takes the confinement with a commit
  } else if (!confined && confinement_) {
    zwp_confined_pointer_v1_destroy(confinement_);
    confinement_ = nullptr;
  }
  confined_ = confinement_ != nullptr;
  if (!dead_ && display_) wl_display_flush(display_);
}

void WaylandWindowSystem::startTimer(int32_t id, int32_t intervalMs) {
  if (hasWindow()) timers_.start(id, intervalMs);
}

}  // namespace krgfx
