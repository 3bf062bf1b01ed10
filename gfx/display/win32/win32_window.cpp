// The window class and the one window: registering, creating with a client
// area of exactly the mode's size, placing, destroying.
#include "gfx/display/win32/win32_window_system.h"

#include <algorithm>

#include <krgfx/gfx.h>

#include "input/window_input.h"

namespace krgfx {

namespace {

// The system's standard icon and arrow pointer.
const LPCSTR standardIcon = MAKEINTRESOURCEA(32512);
const LPCSTR standardArrow = MAKEINTRESOURCEA(32512);

LRESULT CALLBACK windowProcedureOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* system = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!system) return DefWindowProcA(window, message, wParam, lParam);
  return system->handleMessage(window, message, wParam, lParam);
}

template <typename Routine>
Routine user32Routine(HMODULE user32, const char* name) {
  return reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

DWORD styleOf(const WindowSpec& windowSpec) {
  if (windowSpec.fullScreen || windowSpec.frameless) return WS_POPUP;
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (windowSpec.canMaximise) style |= WS_MAXIMIZEBOX;
  return style;
}

}  // namespace

OptionalUser32 lookUpOptionalUser32() {
  OptionalUser32 routines{};
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return routines;
  routines.setLayeredWindowAttributes =
      user32Routine<decltype(routines.setLayeredWindowAttributes)>(user32,
                                                                   "SetLayeredWindowAttributes");
  routines.monitorFromWindow = user32Routine<decltype(routines.monitorFromWindow)>(
      user32, "MonitorFromWindow");
  routines.monitorFromPoint = user32Routine<decltype(routines.monitorFromPoint)>(
      user32, "MonitorFromPoint");
  routines.flashWindowEx = user32Routine<decltype(routines.flashWindowEx)>(user32, "FlashWindowEx");
  routines.trackMouseEvent = user32Routine<decltype(routines.trackMouseEvent)>(user32,
                                                                               "TrackMouseEvent");
  routines.getMonitorInfoA = user32Routine<decltype(routines.getMonitorInfoA)>(user32,
                                                                               "GetMonitorInfoA");
  routines.changeDisplaySettingsExA = user32Routine<decltype(routines.changeDisplaySettingsExA)>(
      user32, "ChangeDisplaySettingsExA");
  return routines;
}

int32_t windowsVersion() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  return static_cast<int32_t>((version.dwMajorVersion & 0xFF) << 8 |
                              (version.dwMinorVersion & 0xFF));
}

// Per-monitor (v2) DPI awareness, where the system has it (Windows 10 1703
// and later): the window's pixels are the display's own, never stretched by
// the system; the program's manifest says the same before any window exists.
void declareDpiAwareness() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return;
  if (auto set = user32Routine<SetContext>(user32, "SetProcessDpiAwarenessContext"))
    set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));  // PER_MONITOR_AWARE_V2
}

bool Win32WindowSystem::open(PresentPath path) {
  path_ = path;
  declareDpiAwareness();
  instance_ = GetModuleHandleA(nullptr);
  user32_ = lookUpOptionalUser32();
  version_ = windowsVersion();
  arrow_ = LoadCursorA(nullptr, standardArrow);
  // Without the system's leave reports a 100 ms timer watches the pointer.
  leaveTrackingByTimer = user32_.trackMouseEvent == nullptr;
  if (user32_.monitorFromPoint) {
    POINT pointer{};
    GetCursorPos(&pointer);
    monitor_ = user32_.monitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
  }
  refreshMonitor();
  if (path == PresentPath::sharedSurface) {
    directDraw_ = std::make_unique<DirectDrawDisplay>();
    if (!directDraw_->load(instance_)) return false;
  }
  return true;
}

Win32WindowSystem::~Win32WindowSystem() {
  destroyWindow();
  directDraw_.reset();
  if (classRegistered_) UnregisterClassA(className_.c_str(), instance_);
  leaveTrackingByTimer = false;
}

// The device name of the chosen monitor, for display-mode changes.
void Win32WindowSystem::refreshMonitor() {
  deviceName_.clear();
  if (!monitor_ || !user32_.getMonitorInfoA) return;
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  if (user32_.getMonitorInfoA(monitor_, &info)) deviceName_ = info.szDevice;
}

bool Win32WindowSystem::registerClass(const std::string& className) {
  if (classRegistered_ && className == className_) return true;
  if (classRegistered_) UnregisterClassA(className_.c_str(), instance_);
  classRegistered_ = false;
  className_ = className;
  WNDCLASSA windowClass{};
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = windowProcedureOf;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconA(instance_, "KR_PROGRAM_ICON");
  if (!windowClass.hIcon) windowClass.hIcon = LoadIconA(nullptr, standardIcon);
  windowClass.hCursor = arrow_;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = className_.c_str();
  // A class left behind by an earlier start has the same procedure.
  classRegistered_ = RegisterClassA(&windowClass) != 0 ||
                     GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return classRegistered_;
}

bool Win32WindowSystem::createWindow(const WindowSpec& windowSpec) {
  if (window_ || windowSpec.width <= 0 || windowSpec.height <= 0) return false;
  if (!registerClass(windowSpec.className)) return false;
  DWORD style = styleOf(windowSpec);
  RECT outer{0, 0, windowSpec.width, windowSpec.height};
  AdjustWindowRect(&outer, style, FALSE);
  outerWidth_ = outer.right - outer.left;
  outerHeight_ = outer.bottom - outer.top;
  width_ = windowSpec.width;
  height_ = windowSpec.height;
  picture_ = windowSpec.picture;
  fullScreen_ = windowSpec.fullScreen;
  int32_t x = windowSpec.x, y = windowSpec.y;
  if (fullScreen_) {
    WindowRect screen = screenRect();
    x += screen.left;
    y += screen.top;
  } else if (windowSpec.centred) {
    centreOnScreen(x, y);
  }
  // A colour-keyed window is layered: its pixels of the key colour let the
  // screen behind show through.
  colourKeyed_ = path_ == PresentPath::clientPixels && !fullScreen_ &&
                 (windowLayer.flags & flagColourKeyed);
  if (colourKeyed_ && (version_ < 0x500 || !user32_.setLayeredWindowAttributes)) return false;
  ownerThread_ = GetCurrentThreadId();
  title_ = windowSpec.title;
  HWND created = CreateWindowExA(colourKeyed_ ? WS_EX_LAYERED : 0, className_.c_str(),
                                 windowSpec.title.c_str(), style, x, y, outerWidth_, outerHeight_,
                                 nullptr, nullptr, instance_, this);
  if (!created) {
    window_ = nullptr;
    return false;
  }
  window_ = created;
  keyColour_ = CLR_INVALID;
  if (colourKeyed_) applyColourKey();
  if (windowSpec.topmost) SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  if (path_ == PresentPath::sharedSurface && !attachDirectDraw(windowSpec)) {
    destroyWindow();
    return false;
  }
  return window_ != nullptr;
}

bool Win32WindowSystem::attachDirectDraw(const WindowSpec& windowSpec) {
  if (!directDraw_) return false;
  // Full screen without a wanted mode keeps the desktop's own.
  const DisplayMode* mode = windowSpec.fullScreen && modeWanted_ ? &wantedMode_ : nullptr;
  surfaceRestored_ = true;  // a new surface holds no picture yet
  return directDraw_->attach(window_, width_, height_, windowSpec.fullScreen, mode);
}

void Win32WindowSystem::destroyWindow() {
  if (directDraw_) directDraw_->detach();
  modeWanted_ = false;
  if (!window_) return;
  if (confined_) ClipCursor(nullptr);
  confined_ = false;
  // A full-screen switch goes to the monitor the window was on.
  if (user32_.monitorFromWindow) {
    monitor_ = user32_.monitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
    refreshMonitor();
  }
  // Only the window's own thread can destroy it; once that thread has ended
  // the system has destroyed the window with it.
  if (onOwnerThread() && IsWindow(window_)) {
    destroying_ = true;
    DestroyWindow(window_);
    destroying_ = false;
  }
  window_ = nullptr;
  tracking_ = false;
  pending_.clear();
  if (palette_) DeleteObject(palette_);
  palette_ = nullptr;
}

void Win32WindowSystem::setTitle(const std::string& title) {
  if (!window_) return;
  title_ = title;
  if (onOwnerThread())
    SetWindowTextA(window_, title_.c_str());
  else
    PostMessageA(window_, titleMessage, 0, 0);
}

void Win32WindowSystem::moveWindow(int32_t x, int32_t y) {
  if (!window_) return;
  // Asynchronous from another thread: the window's thread may be waiting
  // for the driver lock that the caller holds.
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (!onOwnerThread()) flags |= SWP_ASYNCWINDOWPOS;
  SetWindowPos(window_, nullptr, x, y, 0, 0, flags);
}

WindowRect Win32WindowSystem::windowRect() {
  RECT rect{};
  if (!window_ || !GetWindowRect(window_, &rect)) return {0, 0, 0, 0};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

WindowRect Win32WindowSystem::clientRectOnScreen() {
  RECT rect{};
  if (!window_ || !GetClientRect(window_, &rect)) return {0, 0, 0, 0};
  MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

WindowRect Win32WindowSystem::screenRect() {
  if (monitor_ && user32_.getMonitorInfoA) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (user32_.getMonitorInfoA(monitor_, &info))
      return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  }
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

WindowRect Win32WindowSystem::workArea() {
  if (monitor_ && user32_.getMonitorInfoA) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (user32_.getMonitorInfoA(monitor_, &info))
      return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  }
  RECT area{};
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    return {area.left, area.top, area.right, area.bottom};
  return screenRect();
}

// The DPI of the window's monitor (shcore's GetDpiForMonitor, Windows 8.1
// and later), else the screen's logical DPI.
int32_t Win32WindowSystem::desktopDpi() {
  using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static HMODULE shcore = LoadLibraryA("shcore.dll");
  auto forMonitor = shcore ? user32Routine<GetDpiForMonitor>(shcore, "GetDpiForMonitor") : nullptr;
  UINT dpiX = 0, dpiY = 0;
  if (monitor_ && forMonitor && forMonitor(monitor_, 0, &dpiX, &dpiY) == S_OK && dpiX > 0)
    return static_cast<int32_t>(dpiX);  // 0: MDT_EFFECTIVE_DPI
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 0;
}

// The outer window in the middle of the screen; a window larger than the
// screen keeps its top-left corner on it, so that its caption can be reached.
void Win32WindowSystem::centreOnScreen(int32_t& x, int32_t& y) {
  WindowRect screen = screenRect();
  x = screen.left + std::max(0, (screen.right - screen.left - outerWidth_) / 2);
  y = screen.top + std::max(0, (screen.bottom - screen.top - outerHeight_) / 2);
}

// The window cannot be resized: every limit is its outer size.
void Win32WindowSystem::sizingLimits(MINMAXINFO& limits) const {
  POINT size{outerWidth_, outerHeight_};
  limits.ptMinTrackSize = size;
  limits.ptMaxTrackSize = size;
  limits.ptMaxSize = size;
}

// Magenta above 8 bits; on palette screens the colour that index 0 shows,
// set again whenever that entry changes.
void Win32WindowSystem::applyColourKey() {
  const PaletteEntry& first = windowLayer.paletteEntries[0];
  COLORREF key = dibDepth() > 8 ? RGB(255, 0, 255) : RGB(first.red, first.green, first.blue);
  if (!window_ || key == keyColour_) return;
  keyColour_ = key;
  user32_.setLayeredWindowAttributes(window_, key, 255, LWA_COLORKEY);
}

}  // namespace krgfx
