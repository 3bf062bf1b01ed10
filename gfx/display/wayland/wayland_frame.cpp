// The frame round a window that has one where the compositor draws none
// (weston, GNOME): libdecor draws it, or asks the compositor for its own
// through xdg-decoration where offered. Its close button closes the window;
// its maximise button asks for full screen, as on X11. Without libdecor at
// build time such a window has no frame.
#include "gfx/display/wayland/wayland_connection.h"

#if KRGFX_HAVE_LIBDECOR
#include <libdecor.h>
#endif

namespace krgfx {

#if KRGFX_HAVE_LIBDECOR

namespace {

WaylandWindowSystem* systemOf(void* data) { return static_cast<WaylandWindowSystem*>(data); }

// libdecor's errors (a compositor it cannot work with, a configuration it
// refuses) never end the process: a frame whose window is never configured
// fails that window, and later windows go without a frame.
void onError(libdecor*, libdecor_error, const char*) {}
libdecor_interface decorInterface = [] {
  libdecor_interface made{};
  made.error = onError;
  return made;
}();

// The window keeps its size in every configuration: only the maximised
// state counts.
void onConfigure(libdecor_frame* frame, libdecor_configuration* configuration, void* data) {
  WaylandWindowSystem* system = systemOf(data);
  libdecor_window_state state = LIBDECOR_WINDOW_STATE_NONE;
  if (libdecor_configuration_get_window_state(configuration, &state))
    system->noteMaximised(state & LIBDECOR_WINDOW_STATE_MAXIMIZED);
  libdecor_state* size = libdecor_state_new(system->logicalWidth(), system->logicalHeight());
  libdecor_frame_commit(frame, size, configuration);
  libdecor_state_free(size);
  system->frameConfigured();
}
void onClose(libdecor_frame*, void* data) { systemOf(data)->toplevelClose(); }
void onCommit(libdecor_frame*, void* data) { systemOf(data)->commitSurface(); }
void onDismissPopup(libdecor_frame*, const char*, void*) {}
libdecor_frame_interface frameInterface = [] {
  libdecor_frame_interface made{};
  made.configure = onConfigure;
  made.close = onClose;
  made.commit = onCommit;
  made.dismiss_popup = onDismissPopup;
  return made;
}();

}  // namespace

bool WaylandWindowSystem::startFrame(const std::string& title) {
  if (frameBroken_) return false;
  if (!decor_) {
    decor_ = libdecor_new(display_, &decorInterface);
    if (!decor_) return false;
  }
  frame_ = libdecor_decorate(decor_, surface_, &frameInterface, this);
  if (!frame_) return false;
  libdecor_frame_set_title(frame_, title.c_str());
  libdecor_frame_set_app_id(frame_, appId().c_str());
  setFrameContentSize();
  libdecor_frame_unset_capabilities(frame_, LIBDECOR_ACTION_FULLSCREEN);
  libdecor_frame_map(frame_);
  return true;
}

// No maximum where the window can be maximised: a frame whose maximum is
// its minimum offers no maximise button. Edges dragged leave the picture's
// size as it is.
void WaylandWindowSystem::setFrameContentSize() {
  if (!frame_) return;
  libdecor_frame_set_min_content_size(frame_, logicalWidth(), logicalHeight());
  if (!canMaximise_) libdecor_frame_set_max_content_size(frame_, logicalWidth(), logicalHeight());
}

void WaylandWindowSystem::endFrame() {
  if (!frame_) return;
  libdecor_frame_unref(frame_);
  frame_ = nullptr;
}

void WaylandWindowSystem::setFrameTitle(const std::string& title) {
  if (frame_) libdecor_frame_set_title(frame_, title.c_str());
}

void WaylandWindowSystem::closeFrameContext() {
  if (!decor_) return;
  libdecor_unref(decor_);
  decor_ = nullptr;
}

#else

bool WaylandWindowSystem::startFrame(const std::string&) { return false; }
void WaylandWindowSystem::setFrameContentSize() {}
void WaylandWindowSystem::endFrame() {}
void WaylandWindowSystem::setFrameTitle(const std::string&) {}
void WaylandWindowSystem::closeFrameContext() {}

#endif

}  // namespace krgfx
