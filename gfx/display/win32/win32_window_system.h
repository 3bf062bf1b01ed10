// The Win32 implementation of WindowSystem, shared by its source files: one
// window class and window on the presenter thread (user32), rows shown with
// SetDIBitsToDevice ("GDI") or through DirectDraw surfaces ("DirectX").
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/display/win32/win32_directdraw.h"
#include "gfx/display/window_layer.h"

namespace krgfx {

// The user32 functions that older systems lack, looked up by name; each may
// be null.
struct OptionalUser32 {
  BOOL(WINAPI* setLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD);
  HMONITOR(WINAPI* monitorFromWindow)(HWND, DWORD);
  HMONITOR(WINAPI* monitorFromPoint)(POINT, DWORD);
  BOOL(WINAPI* flashWindowEx)(PFLASHWINFO);
  BOOL(WINAPI* trackMouseEvent)(LPTRACKMOUSEEVENT);
  BOOL(WINAPI* getMonitorInfoA)(HMONITOR, LPMONITORINFO);
  LONG(WINAPI* changeDisplaySettingsExA)(LPCSTR, LPDEVMODEA, HWND, DWORD, LPVOID);
};
OptionalUser32 lookUpOptionalUser32();

// (major << 8) | minor of the running system.
int32_t windowsVersion();

// A byte of the ANSI code page as a code page 437 byte; 0 when it has none
// or the conversion fails.
uint8_t ansiToCp437(uint8_t ansi);

// A private message: the window's thread takes a caption set from another
// thread (setting it there directly would wait for the window's thread while
// that thread waits for the driver lock the caller holds).
constexpr UINT titleMessage = WM_APP + 1;

class Win32WindowSystem : public WindowSystem {
 public:
  // Looks the optional functions up and, for the shared-surface path, loads
  // DirectDraw and DirectInput; false when that path cannot be served.
  bool open(PresentPath path);
  ~Win32WindowSystem() override;

  bool createWindow(const WindowSpec& windowSpec) override;
  void destroyWindow() override;
  bool hasWindow() const override { return window_ != nullptr; }
  void setTitle(const std::string& title) override;
  void moveWindow(int32_t x, int32_t y) override;
  WindowRect windowRect() override;
  WindowRect clientRectOnScreen() override;
  WindowRect screenRect() override;
  WindowRect workArea() override;
  int32_t desktopDpi() override;
  void dispatchMessages(void (*procedure)(const WindowMessage& message)) override;
  DisplayFormat displayFormat() override;
  PixelSurface surface() override;
  bool presentRows(int32_t first, int32_t last) override;
  bool presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) override;
  int32_t refreshRate() override;
  void waitForRetrace(int32_t timeoutMs) override;
  void virtualKeyState(uint8_t state[256]) override;
  bool scanCodeState(uint8_t state[256]) override;
  void pointerPosition(int32_t* x, int32_t* y) override;
  void movePointer(int32_t x, int32_t y) override;
  bool pointerOverThisWindow() override;
  void confinePointer(bool confined) override;
  void showPointer(bool visible) override;
  void capturePointer(bool captured) override;
  bool pointerCaptured() override;
  void startTimer(int32_t id, int32_t intervalMs) override;
  void stopTimer(int32_t id) override;
  std::vector<DisplayMode> displayModes() override;
  bool setDisplayMode(const DisplayMode& mode) override;
  void restoreDisplayMode() override;
  void suspendScreenSaver() override;
  void restoreScreenSaver() override;
  void bell() override;

  // The window procedure's work for this window.
  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Pending {
    HWND window;
    WindowMessage message;
  };

  bool registerClass(const std::string& className);
  bool attachDirectDraw(const WindowSpec& windowSpec);
  void deliver(const WindowMessage& message);
  void deliverPending();
  bool translateKey(UINT message, WPARAM wParam, LPARAM lParam);
  void translateCharacter(WPARAM wParam, LPARAM lParam);
  bool translatePointer(UINT message, WPARAM wParam, LPARAM lParam);
  void trackLeaving();
  void centreOnScreen(int32_t& x, int32_t& y);
  void sizingLimits(MINMAXINFO& limits) const;
  void showDibRows(HDC dc, const uint8_t* pixels, int32_t pitch, int32_t first, int32_t rows);
  void applyLogicalPalette(HDC dc);
  int32_t dibDepth() const;
  void applyColourKey();
  bool onOwnerThread() const { return GetCurrentThreadId() == ownerThread_; }
  void refreshMonitor();

  PresentPath path_ = PresentPath::clientPixels;
  HINSTANCE instance_ = nullptr;
  OptionalUser32 user32_{};
  int32_t version_ = 0;
  std::string className_;
  bool classRegistered_ = false;
  HWND window_ = nullptr;
  DWORD ownerThread_ = 0;
  int32_t width_ = 0, height_ = 0;
  int32_t outerWidth_ = 0, outerHeight_ = 0;
  bool fullScreen_ = false;
  bool colourKeyed_ = false;
  COLORREF keyColour_ = CLR_INVALID;
  bool destroying_ = false;
  // A caption set from another thread waits here for the window's thread.
  std::string title_;
  // Messages are handed to the procedure while dispatchMessages runs; those
  // that arrive outside it, or while the procedure is busy with another,
  // wait here for the next turn.
  void (*procedure_)(const WindowMessage& message) = nullptr;
  bool delivering_ = false;
  std::vector<Pending> pending_;
  // Pointer.
  HCURSOR arrow_ = nullptr;
  bool tracking_ = false;
  bool confined_ = false;
  // Display: the monitor under the pointer when the system opened.
  HMONITOR monitor_ = nullptr;
  // The picture in the client area (empty: all of it): the pointer is
  // confined there.
  WindowRect picture_{};
  std::string deviceName_;
  bool modeChanged_ = false;  // GDI changed the display mode
  DisplayMode wantedMode_{};  // DirectX: the mode its full-screen window takes
  bool modeWanted_ = false;
  bool surfaceRestored_ = false;  // DirectX: show every row at the next present
  // GDI's logical palette, and the colours it was made of.
  HPALETTE palette_ = nullptr;
  PaletteEntry paletteShown_[256]{};
  // The screen saver's setting before the window layer switched it off.
  bool saverSaved_ = false;
  BOOL saverWasActive_ = FALSE;
  std::unique_ptr<DirectDrawDisplay> directDraw_;
};

}  // namespace krgfx
