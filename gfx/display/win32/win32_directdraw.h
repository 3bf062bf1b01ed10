// DirectDraw and the DirectInput keyboard for the "DirectX" driver, from
// "ddraw.dll" and "dinput.dll" loaded at run time. In a window the presenter
// converts into an off-screen surface that is copied to the client area
// through a clipper; in full screen it converts straight into the primary
// surface of an exclusive display mode.
#pragma once

#include <windows.h>

#define DIRECTINPUT_VERSION 0x0300
#include <ddraw.h>
#include <dinput.h>

#include <cstdint>

#include "gfx/display/window_layer.h"

namespace krgfx {

// Reads the DirectInput keyboard's 256 bytes into `state`. A device that
// lost its input or is not acquired is acquired again for next time and the
// answer is false: the keys' state is unknown this time. Any other failure
// reads as every key up.
bool readKeyboardDevice(IDirectInputDeviceA& keyboard, uint8_t state[256]);

class DirectDrawDisplay {
 public:
  DirectDrawDisplay() = default;
  DirectDrawDisplay(const DirectDrawDisplay&) = delete;
  DirectDrawDisplay& operator=(const DirectDrawDisplay&) = delete;
  ~DirectDrawDisplay();

  // Loads both libraries and makes the DirectDraw (IDirectDraw2) and
  // DirectInput objects; false when either is missing.
  bool load(HINSTANCE instance);
  // The display's pixel format in the Blitters' terms; depth 0 when unknown.
  DisplayFormat format();
  int32_t refreshRate();
  // Surfaces, clipper and keyboard for a window. Full screen takes exclusive
  // cooperation, and the display mode `mode` unless it is null (the
  // desktop's own mode stays); false when anything is refused.
  bool attach(HWND window, int32_t width, int32_t height, bool fullScreen, const DisplayMode* mode);
  // Releases what attach made and gives the display mode back.
  void detach();
  // The surface the presenter converts into, locked; null when it cannot be
  // had. A surface that had to be restored has lost its picture: `restored`
  // then asks for every row again.
  PixelSurface lock(bool* restored);
  // Unlocks the surface; in a window copies rows first to last of the
  // off-screen surface to the client area at `clientLeft`, `clientTop`.
  // False when there are no surfaces to show.
  bool present(int32_t first, int32_t last, int32_t clientLeft, int32_t clientTop);
  // 256 bytes by scan code (E0 keys at 128 and up), bit 7 while down; see
  // readKeyboardDevice. Without a keyboard device every key reads as up.
  bool keyboardState(uint8_t state[256]);
  void waitForRetrace();

 private:
  bool createSurfaces(bool fullScreen);
  bool createKeyboard(HWND window);
  void releaseSurfaces();
  void updatePalette();

  HMODULE ddrawLibrary_ = nullptr;
  HMODULE dinputLibrary_ = nullptr;
  IDirectDraw2* directDraw_ = nullptr;
  IDirectInputA* directInput_ = nullptr;
  IDirectInputDeviceA* keyboard_ = nullptr;
  IDirectDrawSurface* primary_ = nullptr;
  IDirectDrawSurface* offScreen_ = nullptr;
  IDirectDrawClipper* clipper_ = nullptr;
  IDirectDrawPalette* palette_ = nullptr;
  PaletteEntry paletteShown_[256]{};
  IDirectDrawSurface* locked_ = nullptr;
  HWND window_ = nullptr;
  int32_t width_ = 0, height_ = 0;
  LONG displayWidth_ = 0, displayHeight_ = 0;  // the primary surface
  bool exclusive_ = false;
};

}  // namespace krgfx
