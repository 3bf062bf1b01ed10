// The X11 connection and the one window: connecting, error handling that
// never ends the process, creating, placing and destroying the window.
#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "gfx/display/display_scale.h"
#include "gfx/display/platform_window_system.h"
#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

namespace {

// Protocol errors (a window destroyed by another client, a refused mode or
// shared-memory attach) are noted, never fatal. Xlib hands an error to the
// thread that reads the connection's replies, which for a sync is the thread
// that syncs: noting per thread keeps another connection's errors out.
thread_local Display* errorDisplay;

int noteError(Display* display, XErrorEvent*) {
  errorDisplay = display;
  return 0;
}

// A lost connection: Xlib would end the process; the exit handler returns
// instead, and the system stops using the connection.
int ignoreIoError(Display*) { return 0; }
void connectionLost(Display*, void* system) { static_cast<X11WindowSystem*>(system)->markDead(); }

void installErrorHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    XSetErrorHandler(noteError);
    XSetIOErrorHandler(ignoreIoError);
  });
}

}  // namespace

// Syncs and answers whether a protocol error came back on this display.
bool syncFailed(Display* display) {
  errorDisplay = nullptr;
  XSync(display, False);
  return errorDisplay == display;
}

bool X11WindowSystem::connect(PresentPath path) {
  installErrorHandlers();
  path_ = path;
  display_ = XOpenDisplay(nullptr);
  if (!display_) return false;
  XSetIOErrorExitHandler(display_, connectionLost, this);
  screen_ = DefaultScreen(display_);
  root_ = RootWindow(display_, screen_);
  screenWidth_ = DisplayWidth(display_, screen_);
  screenHeight_ = DisplayHeight(display_, screen_);
  if (!chooseVisual()) return false;
  if (path == PresentPath::sharedSurface) {
    int major, minor;
    Bool pixmaps;
    if (!XShmQueryVersion(display_, &major, &minor, &pixmaps)) return false;
    shmEventBase_ = XShmGetEventBase(display_);
  }
  int errorBase;
  if (!XRRQueryExtension(display_, &randrEventBase_, &errorBase)) randrEventBase_ = -1;
  enableDetectableAutoRepeat(display_);
  deleteWindowAtom_ = atom("WM_DELETE_WINDOW");
  protocolsAtom_ = atom("WM_PROTOCOLS");
  refreshRate_ = 0;
  if (randrEventBase_ >= 0) {
    if (XRRScreenConfiguration* config = XRRGetScreenInfo(display_, root_)) {
      refreshRate_ = XRRConfigCurrentRate(config);
      XRRFreeScreenConfigInfo(config);
    }
  }
  return !dead_;
}

X11WindowSystem::~X11WindowSystem() {
  if (!display_) return;
  if (!dead_) {
    destroyWindow();
    if (emptyCursor_) XFreeCursor(display_, emptyCursor_);
    if (arrowCursor_) XFreeCursor(display_, arrowCursor_);
    if (colormap_ && colormap_ != DefaultColormap(display_, screen_))
      XFreeColormap(display_, colormap_);
  }
  freeSharedImage();
  if (!dead_) {
    XCloseDisplay(display_);
    return;
  }
  // Xlib cannot close a connection that failed inside one of its calls (it
  // waits for its own lock for ever): close the socket and keep the rest.
  close(ConnectionNumber(display_));
  static auto* lostConnections = new std::vector<std::pair<Display*, GC>>;
  lostConnections->emplace_back(display_, gc_);
}

// A true-colour visual: the default one, else any of 24 or 16 bits.
bool X11WindowSystem::chooseVisual() {
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(DefaultVisual(display_, screen_));
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(display_, VisualIDMask, &wanted, &count);
  XVisualInfo chosen{};
  bool haveOne = found && count > 0 && found[0].c_class == TrueColor;
  if (haveOne) chosen = found[0];
  if (found) XFree(found);
  if (!haveOne) {
    if (!XMatchVisualInfo(display_, screen_, 24, TrueColor, &chosen) &&
        !XMatchVisualInfo(display_, screen_, 16, TrueColor, &chosen))
      return false;
  }
  visual_ = chosen.visual;
  visualDepth_ = chosen.depth;
  colormap_ = visual_ == DefaultVisual(display_, screen_)
                  ? DefaultColormap(display_, screen_)
                  : XCreateColormap(display_, root_, visual_, AllocNone);
  int bitsPerPixel = 0, formats = 0;
  if (XPixmapFormatValues* list = XListPixmapFormats(display_, &formats)) {
    for (int i = 0; i < formats; ++i)
      if (list[i].depth == visualDepth_) bitsPerPixel = list[i].bits_per_pixel;
    XFree(list);
  }
  // The format in the Blitters' terms: 15 for 5-5-5, 24 for three bytes.
  if (bitsPerPixel == 16)
    format_.depth = chosen.green_mask == 0x3E0 ? 15 : 16;
  else if (bitsPerPixel == 24 || bitsPerPixel == 32)
    format_.depth = bitsPerPixel;
  else
    return false;
  format_.rgbOrder = (chosen.red_mask == 0xFF || chosen.red_mask == 0x1F) ? 1 : 0;
  return true;
}

bool X11WindowSystem::createWindow(const WindowSpec& windowSpec) {
  if (dead_ || window_ || windowSpec.width <= 0 || windowSpec.height <= 0) return false;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display_, screen_);
  attributes.border_pixel = 0;
  attributes.colormap = colormap_;
  attributes.event_mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                          PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                          ExposureMask | StructureNotifyMask;
  window_ = XCreateWindow(
      display_, root_, windowSpec.x, windowSpec.y, static_cast<unsigned>(windowSpec.width),
      static_cast<unsigned>(windowSpec.height), 0, visualDepth_, InputOutput, visual_,
      CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
  if (!window_ || syncFailed(display_)) {
    window_ = 0;
    return false;
  }
  topLevel_ = window_;
  clientX_ = windowSpec.x;
  clientY_ = windowSpec.y;
  width_ = windowSpec.width;
  height_ = windowSpec.height;
  fullScreen_ = windowSpec.fullScreen;
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  if (path_ == PresentPath::sharedSurface &&
      !createSharedImage(windowSpec.width, windowSpec.height)) {
    destroyWindow();
    return false;
  }
  if (randrEventBase_ >= 0) XRRSelectInput(display_, window_, RRScreenChangeNotifyMask);
  setWindowProperties(windowSpec);
  createPointerArea(windowSpec.picture);
  mapAndFocus();
  if (!dead_ && window_) refreshClientOrigin();
  return !dead_ && window_ != 0;
}

// A picture smaller than the client area gets a child window of its own
// that takes no events (they reach the window as before): the pointer is
// hidden and confined there, and stays an arrow over the border.
void X11WindowSystem::createPointerArea(const WindowRect& picture) {
  pointerArea_ = window_;
  int32_t width = picture.right - picture.left, height = picture.bottom - picture.top;
  if (width <= 0 || height <= 0 || (width == width_ && height == height_)) return;
  XSetWindowAttributes attributes{};
  Window area = XCreateWindow(display_, window_, picture.left, picture.top,
                              static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0,
                              InputOnly, CopyFromParent, 0, &attributes);
  if (!area) return;
  XMapWindow(display_, area);
  XDefineCursor(display_, window_, arrowCursor());
  pointerArea_ = area;
}

// Title, class, fixed size, close protocol, frame and stacking hints.
void X11WindowSystem::setWindowProperties(const WindowSpec& windowSpec) {
  setTitle(windowSpec.title);
  XClassHint classHint{};
  std::string name = windowSpec.title.empty() ? windowSpec.className : windowSpec.title;
  classHint.res_name = name.data();
  classHint.res_class = const_cast<char*>(windowSpec.className.c_str());
  XSetClassHint(display_, window_, &classHint);

  XSizeHints* size = XAllocSizeHints();
  size->flags = PPosition | USPosition | PMinSize | PMaxSize;
  size->x = windowSpec.x;
  size->y = windowSpec.y;
  size->min_width = size->max_width = windowSpec.width;
  size->min_height = size->max_height = windowSpec.height;
  XSetWMNormalHints(display_, window_, size);
  XFree(size);
  XSetWMProtocols(display_, window_, &deleteWindowAtom_, 1);
  long pid = getpid();
  XChangeProperty(display_, window_, atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);

  if (windowSpec.frameless) {
    // Motif hints: decorations flag set, no decorations.
    long motif[5] = {2, 0, 0, 0, 0};
    Atom hints = atom("_MOTIF_WM_HINTS");
    XChangeProperty(display_, window_, hints, hints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(motif), 5);
  }
  std::vector<Atom> state;
  if (windowSpec.fullScreen) state.push_back(atom("_NET_WM_STATE_FULLSCREEN"));
  if (windowSpec.topmost) state.push_back(atom("_NET_WM_STATE_ABOVE"));
  if (!state.empty())
    XChangeProperty(display_, window_, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(state.data()), static_cast<int>(state.size()));
}

// Shows the window, waits (briefly) until it is mapped, then brings it to the
// front with the input focus.
void X11WindowSystem::mapAndFocus() {
  XMapRaised(display_, window_);
  XEvent event;
  auto deadline = Clock::now() + std::chrono::seconds(2);
  bool mapped = false;
  while (!dead_ && !mapped && Clock::now() < deadline) {
    if (XCheckTypedWindowEvent(display_, window_, MapNotify, &event))
      mapped = true;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!mapped || dead_) return;
  mapped_ = true;
  topLevel_ = topLevelOf(window_);
  XRaiseWindow(display_, topLevel_);
  XSetInputFocus(display_, window_, RevertToPointerRoot, CurrentTime);
  // With a window manager running, also ask it to activate the window.
  Atom active = XInternAtom(display_, "_NET_ACTIVE_WINDOW", True);
  if (active != None) {
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window_;
    request.xclient.message_type = active;
    request.xclient.format = 32;
    request.xclient.data.l[0] = 1;
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
  }
  XFlush(display_);
}

// The child of the root window that holds `window` (a window manager's frame).
Window X11WindowSystem::topLevelOf(Window window) {
  Window current = window;
  for (int depth = 0; depth < 16; ++depth) {
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, current, &rootReturn, &parent, &children, &count)) break;
    if (children) XFree(children);
    if (parent == rootReturn || parent == 0) break;
    current = parent;
  }
  return current;
}

void X11WindowSystem::destroyWindow() {
  if (!window_) return;
  if (!dead_) {
    if (confined_) XUngrabPointer(display_, CurrentTime);
    freeSharedImage();
    if (gc_) XFreeGC(display_, gc_);
    destroying_ = true;
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    // Events of the old window are of no use to the next one.
    XEvent event;
    while (XCheckWindowEvent(display_, window_, ~0L, &event)) {
    }
  }
  if (!dead_) gc_ = nullptr;  // a lost connection's GC stays with it
  window_ = topLevel_ = pointerArea_ = 0;
  confined_ = captured_ = focused_ = mapped_ = false;
  lastX_ = lastY_ = INT32_MIN;
  keys_.forgetHeldKeys();
  keymap_.setKeyboardFocus(false);
  clicks_.reset();
  timers_.clear();
}

void X11WindowSystem::setTitle(const std::string& title) {
  if (!hasWindow()) return;
  XStoreName(display_, window_, title.c_str());
  XChangeProperty(display_, window_, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.c_str()),
                  static_cast<int>(title.size()));
  XFlush(display_);
}

void X11WindowSystem::moveWindow(int32_t x, int32_t y) {
  if (!hasWindow()) return;
  XMoveWindow(display_, window_, x, y);
  XSync(display_, False);
  refreshClientOrigin();
}

// Asks the server where the client area lies; the window procedure reads the
// answer kept here for every message.
void X11WindowSystem::refreshClientOrigin() {
  int x = 0, y = 0;
  Window child;
  if (XTranslateCoordinates(display_, window_, root_, 0, 0, &x, &y, &child)) {
    clientX_ = x;
    clientY_ = y;
  }
}

WindowRect X11WindowSystem::clientRectOnScreen() {
  if (!hasWindow()) return {0, 0, 0, 0};
  return {clientX_, clientY_, clientX_ + width_, clientY_ + height_};
}

// The frame a window manager adds is not known here: the window's rectangle
// is its client area.
WindowRect X11WindowSystem::windowRect() { return clientRectOnScreen(); }

WindowRect X11WindowSystem::screenRect() {
  if (dead_) return {0, 0, 0, 0};
  return {0, 0, screenWidth_, screenHeight_};
}

// _NET_WORKAREA of the first desktop, as a window manager publishes it.
WindowRect X11WindowSystem::workArea() {
  WindowRect screen = screenRect();
  if (dead_) return screen;
  Atom workArea = XInternAtom(display_, "_NET_WORKAREA", True);
  if (workArea == None) return screen;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  WindowRect area = screen;
  if (XGetWindowProperty(display_, root_, workArea, 0, 4, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data && format == 32 && count == 4) {
    const long* values = reinterpret_cast<const long*>(data);
    if (values[2] > 0 && values[3] > 0)
      area = {static_cast<int32_t>(values[0]), static_cast<int32_t>(values[1]),
              static_cast<int32_t>(values[0] + values[2]),
              static_cast<int32_t>(values[1] + values[3])};
  }
  if (data) XFree(data);
  return area;
}

// Xft.dpi of the resource database (RESOURCE_MANAGER of the root window), as
// the desktop sets it for its scale.
int32_t X11WindowSystem::desktopDpi() {
  if (dead_) return 0;
  return dpiFromResources(XResourceManagerString(display_));
}

void X11WindowSystem::bell() {
  if (dead_) return;
  XBell(display_, 0);
  XFlush(display_);
}

// Null when no X display is reachable, or for the shared-surface path when
// the server has no MIT-SHM (a remote display).
WindowSystem* openX11WindowSystem(PresentPath path) {
  auto* system = new X11WindowSystem;
  if (!system->connect(path)) {
    delete system;
    return nullptr;
  }
  return system;
}

}  // namespace krgfx
