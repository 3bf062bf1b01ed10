// Turning X events into the window procedure's messages, one event at a time
// so that a message that replaces the window (full screen) is seen by the
// events after it.
#include <X11/extensions/Xrandr.h>

#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

namespace {

constexpr int maxEventsPerDispatch = 512;
constexpr int32_t wheelStep = 120;

WindowMessage pointerMessage(MessageKind kind, int x, int y, int32_t button = 0) {
  WindowMessage result = windowMessage(kind);
  result.x = x;
  result.y = y;
  result.button = button;
  return result;
}

// X button numbers to button bits: 1 left, 3 right, 2 middle, 8 and 9 extra.
int32_t buttonBit(unsigned button) {
  switch (button) {
    case 1:
      return 0x1;
    case 3:
      return 0x2;
    case 2:
      return 0x4;
    case 8:
      return 0x8;
    case 9:
      return 0x10;
    default:
      return 0;
  }
}

void translateButton(const XButtonEvent& event, DoubleClickDetector& clicks,
                     std::vector<WindowMessage>& messages) {
  bool press = event.type == ButtonPress;
  if (event.button >= 4 && event.button <= 7) {
    // Wheel notches come as presses of buttons 4 (forward) to 7 (right).
    if (!press) return;
    bool vertical = event.button <= 5;
    WindowMessage wheel = pointerMessage(
        vertical ? MessageKind::wheel : MessageKind::horizontalWheel, event.x, event.y);
    wheel.wheelDelta = (event.button == 4 || event.button == 7) ? wheelStep : -wheelStep;
    messages.push_back(wheel);
    return;
  }
  int32_t bit = buttonBit(event.button);
  if (!bit) return;
  MessageKind kind = MessageKind::buttonUp;
  if (press)
    kind = clicks.press(bit, static_cast<uint32_t>(event.time), event.x, event.y)
               ? MessageKind::buttonDoubleClick
               : MessageKind::buttonDown;
  messages.push_back(pointerMessage(kind, event.x, event.y, bit));
}

}  // namespace

void X11WindowSystem::dispatchMessages(void (*procedure)(const WindowMessage& message)) {
  std::vector<WindowMessage> messages;
  for (int count = 0; count < maxEventsPerDispatch && !dead_ && XPending(display_); ++count) {
    XEvent event;
    XNextEvent(display_, &event);
    messages.clear();
    translate(event, messages);
    for (const WindowMessage& each : messages) procedure(each);
  }
  messages.clear();
  if (!dead_) timers_.appendDue(messages);
  if (dead_ && !deathReported_) {
    deathReported_ = true;
    messages.push_back(windowMessage(MessageKind::destroyed));
  }
  for (const WindowMessage& each : messages) procedure(each);
}

void X11WindowSystem::translate(XEvent& event, std::vector<WindowMessage>& messages) {
  if (randrEventBase_ >= 0 && event.type == randrEventBase_ + RRScreenChangeNotify) {
    XRRUpdateConfiguration(&event);
    const auto& change = reinterpret_cast<const XRRScreenChangeNotifyEvent&>(event);
    if (change.root == root_) {
      screenWidth_ = change.width;
      screenHeight_ = change.height;
    }
    messages.push_back(windowMessage(MessageKind::displayChange));
    return;
  }
  if (event.type == MappingNotify) {
    XRefreshKeyboardMapping(&event.xmapping);  // a new keyboard layout
    return;
  }
  if (!window_ || event.xany.window != window_) return;
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
      translateKey(event.xkey, messages);
      if (event.xkey.same_screen)
        notePointer(event.xkey.x, event.xkey.y, event.xkey.x_root, event.xkey.y_root, messages);
      break;
    case MotionNotify:
      messages.push_back(pointerMessage(MessageKind::mouseMove, event.xmotion.x, event.xmotion.y));
      if (event.xmotion.same_screen)
        notePointer(event.xmotion.x, event.xmotion.y, event.xmotion.x_root, event.xmotion.y_root,
                    messages);
      break;
    case EnterNotify:
    case LeaveNotify: {
      const XCrossingEvent& crossing = event.xcrossing;
      if (event.type == EnterNotify) {
        messages.push_back(pointerMessage(MessageKind::mouseMove, crossing.x, crossing.y));
        // The window's pointer was chosen while the pointer was elsewhere.
        messages.push_back(windowMessage(MessageKind::setCursor));
      } else if (crossing.mode == NotifyNormal && crossing.detail != NotifyInferior)
        messages.push_back(windowMessage(MessageKind::mouseLeave));
      if (crossing.same_screen)
        notePointer(crossing.x, crossing.y, crossing.x_root, crossing.y_root, messages);
      break;
    }
    case ButtonPress:
    case ButtonRelease:
      translateButton(event.xbutton, clicks_, messages);
      if (event.xbutton.same_screen)
        notePointer(event.xbutton.x, event.xbutton.y, event.xbutton.x_root, event.xbutton.y_root,
                    messages);
      break;
    case FocusIn:
    case FocusOut:
      // A grab takes the key events elsewhere until it ends.
      keymap_.setKeyboardFocus(event.type == FocusIn && event.xfocus.mode != NotifyGrab);
      if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab ||
          event.xfocus.detail == NotifyInferior)
        break;
      translateFocus(event.type == FocusIn, messages);
      break;
    case MapNotify:
    case UnmapNotify: {
      mapped_ = event.type == MapNotify;
      WindowMessage activation = windowMessage(MessageKind::activate);
      activation.active = focused_;
      activation.minimised = !mapped_;
      messages.push_back(activation);
      break;
    }
    case Expose:
      if (event.xexpose.count == 0) messages.push_back(windowMessage(MessageKind::paint));
      break;
    case ReparentNotify:
      refreshClientOrigin();  // a window manager framed the window
      break;
    case ConfigureNotify: {
      refreshClientOrigin();
      WindowRect client = clientRectOnScreen();
      if (lastX_ != INT32_MIN && (client.left != lastX_ || client.top != lastY_))
        messages.push_back(windowMessage(MessageKind::moving));
      lastX_ = client.left;
      lastY_ = client.top;
      break;
    }
    case ClientMessage:
      if (event.xclient.message_type == protocolsAtom_ &&
          static_cast<Atom>(event.xclient.data.l[0]) == deleteWindowAtom_)
        messages.push_back(windowMessage(MessageKind::close));
      break;
    case DestroyNotify:
      // Destroyed by someone else: the window is gone for good.
      if (event.xdestroywindow.window == window_) {
        window_ = topLevel_ = 0;
        if (gc_) XFreeGC(display_, gc_);
        gc_ = nullptr;
        freeSharedImage();
        messages.push_back(windowMessage(MessageKind::destroyed));
      }
      break;
    default:
      break;
  }
}

// An event that tells where the pointer is also tells where the client area
// lies. The event's messages carry the pointer's screen position.
void X11WindowSystem::notePointer(int x, int y, int rootX, int rootY,
                                  std::vector<WindowMessage>& messages) {
  clientX_ = rootX - x;
  clientY_ = rootY - y;
  for (WindowMessage& each : messages) {
    each.pointerKnown = true;
    each.screenX = rootX;
    each.screenY = rootY;
  }
}

// Focus follows the pointer when no window manager runs: any focus change
// except inside the window counts.
void X11WindowSystem::translateFocus(bool focused, std::vector<WindowMessage>& messages) {
  if (focused == focused_) return;
  focused_ = focused;
  if (!focused) {
    keys_.forgetHeldKeys();
    clicks_.reset();
  }
  WindowMessage activation = windowMessage(MessageKind::activate);
  activation.active = focused;
  activation.minimised = !mapped_;
  messages.push_back(activation);
}

}  // namespace krgfx
