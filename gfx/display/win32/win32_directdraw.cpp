// DirectDraw surfaces and the DirectInput keyboard of the "DirectX" driver.
// The GUIDs of both interfaces are defined in this file.
#include <initguid.h>

#include "gfx/display/win32/win32_directdraw.h"

#include <algorithm>
#include <cstring>

namespace krgfx {

namespace {

using DirectDrawCreateRoutine = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);
using DirectInputCreateRoutine = HRESULT(WINAPI*)(HINSTANCE, DWORD, LPDIRECTINPUTA*, LPUNKNOWN);

template <typename Routine>
Routine routineOf(HMODULE library, const char* name) {
  return reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

template <typename Interface>
void release(Interface*& object) {
  if (object) object->Release();
  object = nullptr;
}

// The keyboard as 256 buttons, one byte per scan code.
struct KeyboardFormat {
  DIOBJECTDATAFORMAT keys[256];
  DIDATAFORMAT format;
  KeyboardFormat() {
    for (DWORD key = 0; key < 256; ++key)
      keys[key] = {&GUID_Key, key, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(key) | DIDFT_OPTIONAL, 0};
    format = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 256, keys};
  }
};

DDSURFACEDESC surfaceDescription(DWORD flags, DWORD caps) {
  DDSURFACEDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = flags;
  description.ddsCaps.dwCaps = caps;
  return description;
}

}  // namespace

DirectDrawDisplay::~DirectDrawDisplay() {
  detach();
  release(directInput_);
  release(directDraw_);
  if (dinputLibrary_) FreeLibrary(dinputLibrary_);
  if (ddrawLibrary_) FreeLibrary(ddrawLibrary_);
}

bool DirectDrawDisplay::load(HINSTANCE instance) {
  ddrawLibrary_ = LoadLibraryA("ddraw.dll");
  dinputLibrary_ = LoadLibraryA("dinput.dll");
  if (!ddrawLibrary_ || !dinputLibrary_) return false;
  auto createDirectDraw = routineOf<DirectDrawCreateRoutine>(ddrawLibrary_, "DirectDrawCreate");
  auto createDirectInput = routineOf<DirectInputCreateRoutine>(dinputLibrary_,
                                                               "DirectInputCreateA");
  if (!createDirectDraw || !createDirectInput) return false;
  IDirectDraw* first = nullptr;
  if (FAILED(createDirectDraw(nullptr, &first, nullptr)) || !first) return false;
  HRESULT asked = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directDraw_));
  first->Release();
  if (FAILED(asked) || !directDraw_) {
    directDraw_ = nullptr;
    return false;
  }
  if (FAILED(createDirectInput(instance, 0x0300, &directInput_, nullptr))) directInput_ = nullptr;
  return directInput_ != nullptr && format().depth != 0;
}

DisplayFormat DirectDrawDisplay::format() {
  DDSURFACEDESC mode{};
  mode.dwSize = sizeof mode;
  if (!directDraw_ || FAILED(directDraw_->GetDisplayMode(&mode))) return {0, 0};
  const DDPIXELFORMAT& pixels = mode.ddpfPixelFormat;
  DisplayFormat result{};
  switch (pixels.dwRGBBitCount) {
    case 8:
      result.depth = 8;
      break;
    case 16:
      result.depth = pixels.dwGBitMask == 0x3E0 ? 15 : 16;
      break;
    case 24:
      result.depth = 24;
      break;
    case 32:
      result.depth = 32;
      break;
    default:
      return {0, 0};
  }
  result.rgbOrder = (pixels.dwRBitMask == 0x1F || pixels.dwRBitMask == 0xFF) ? 1 : 0;
  return result;
}

int32_t DirectDrawDisplay::refreshRate() {
  DWORD rate = 0;
  if (!directDraw_ || FAILED(directDraw_->GetMonitorFrequency(&rate)) || rate <= 1) return 0;
  return static_cast<int32_t>(rate);
}

bool DirectDrawDisplay::attach(HWND window, int32_t width, int32_t height, bool fullScreen,
                               const DisplayMode* mode) {
  if (!directDraw_ || window_) return false;
  window_ = window;
  width_ = width;
  height_ = height;
  exclusive_ = fullScreen;
  if (exclusive_) {
    DDSURFACEDESC current{};
    current.dwSize = sizeof current;
    if (FAILED(directDraw_->GetDisplayMode(&current)) ||
        FAILED(directDraw_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)))
      return false;
    DWORD bits = current.ddpfPixelFormat.dwRGBBitCount;
    auto rate = static_cast<DWORD>(mode && mode->refreshRate > 0 ? mode->refreshRate : 0);
    if (mode) {
      auto modeWidth = static_cast<DWORD>(mode->width);
      auto modeHeight = static_cast<DWORD>(mode->height);
      if (FAILED(directDraw_->SetDisplayMode(modeWidth, modeHeight, bits, rate, 0)) &&
          (rate == 0 || FAILED(directDraw_->SetDisplayMode(modeWidth, modeHeight, bits, 0, 0))))
        return false;
    }
  } else if (FAILED(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL))) {
    return false;
  }
  if (!createSurfaces(exclusive_)) return false;
  createKeyboard(window);  // without it keyState stays clear
  return true;
}

bool DirectDrawDisplay::createSurfaces(bool fullScreen) {
  DDSURFACEDESC primary = surfaceDescription(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
  if (FAILED(directDraw_->CreateSurface(&primary, &primary_, nullptr))) {
    primary_ = nullptr;
    return false;
  }
  DDSURFACEDESC shape{};
  shape.dwSize = sizeof shape;
  if (FAILED(primary_->GetSurfaceDesc(&shape))) return false;
  displayWidth_ = static_cast<LONG>(shape.dwWidth);
  displayHeight_ = static_cast<LONG>(shape.dwHeight);
  if (format().depth == 8) {
    PALETTEENTRY entries[256]{};
    if (SUCCEEDED(directDraw_->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette_,
                                             nullptr)))
      primary_->SetPalette(palette_);
    else
      palette_ = nullptr;
    std::memset(paletteShown_, 0, sizeof paletteShown_);
    updatePalette();
  }
  if (fullScreen) return true;
  if (FAILED(directDraw_->CreateClipper(0, &clipper_, nullptr))) {
    clipper_ = nullptr;
    return false;
  }
  if (FAILED(clipper_->SetHWnd(0, window_)) || FAILED(primary_->SetClipper(clipper_))) return false;
  // Video memory when there is room, else system memory.
  const DWORD flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  for (DWORD memory : {DDSCAPS_VIDEOMEMORY, DDSCAPS_SYSTEMMEMORY}) {
    DDSURFACEDESC offScreen = surfaceDescription(flags, DDSCAPS_OFFSCREENPLAIN | memory);
    offScreen.dwWidth = static_cast<DWORD>(width_);
    offScreen.dwHeight = static_cast<DWORD>(height_);
    if (SUCCEEDED(directDraw_->CreateSurface(&offScreen, &offScreen_, nullptr))) return true;
    offScreen_ = nullptr;
  }
  return false;
}

bool DirectDrawDisplay::createKeyboard(HWND window) {
  static const KeyboardFormat keyboardFormat;
  if (!directInput_ || FAILED(directInput_->CreateDevice(GUID_SysKeyboard, &keyboard_, nullptr))) {
    keyboard_ = nullptr;
    return false;
  }
  if (FAILED(keyboard_->SetDataFormat(&keyboardFormat.format)) ||
      FAILED(keyboard_->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
    release(keyboard_);
    return false;
  }
  keyboard_->Acquire();  // refused while the window is not in front: acquired later
  return true;
}

void DirectDrawDisplay::releaseSurfaces() {
  if (locked_) locked_->Unlock(nullptr);
  locked_ = nullptr;
  release(offScreen_);
  release(clipper_);
  release(palette_);
  release(primary_);
}

void DirectDrawDisplay::detach() {
  if (keyboard_) keyboard_->Unacquire();
  release(keyboard_);
  if (exclusive_ && primary_) {
    if (locked_) locked_->Unlock(nullptr);
    locked_ = nullptr;
    DDBLTFX black{};
    black.dwSize = sizeof black;
    primary_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &black);
  }
  releaseSurfaces();
  if (exclusive_ && directDraw_) {
    directDraw_->RestoreDisplayMode();
    directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
  }
  exclusive_ = false;
  window_ = nullptr;
}

// An 8-bit display shows the layer's palette entries.
void DirectDrawDisplay::updatePalette() {
  if (!palette_ ||
      std::memcmp(paletteShown_, windowLayer.paletteEntries, sizeof paletteShown_) == 0)
    return;
  std::memcpy(paletteShown_, windowLayer.paletteEntries, sizeof paletteShown_);
  PALETTEENTRY entries[256];
  for (int32_t i = 0; i < 256; ++i)
    entries[i] = {paletteShown_[i].red, paletteShown_[i].green, paletteShown_[i].blue, 0};
  palette_->SetEntries(0, 0, 256, entries);
}

PixelSurface DirectDrawDisplay::lock(bool* restored) {
  *restored = false;
  IDirectDrawSurface* target = exclusive_ ? primary_ : offScreen_;
  if (!target) return {nullptr, 0};
  if (locked_) {
    locked_->Unlock(nullptr);
    locked_ = nullptr;
  }
  updatePalette();
  for (int32_t attempt = 0; attempt < 3; ++attempt) {
    DDSURFACEDESC description{};
    description.dwSize = sizeof description;
    HRESULT result = target->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (result == DDERR_SURFACELOST) {
      // Another program took the display: both surfaces come back empty.
      primary_->Restore();
      if (offScreen_) offScreen_->Restore();
      *restored = true;
      continue;
    }
    if (FAILED(result) || !description.lpSurface) return {nullptr, 0};
    locked_ = target;
    return {static_cast<uint8_t*>(description.lpSurface), static_cast<int32_t>(description.lPitch)};
  }
  return {nullptr, 0};
}

bool DirectDrawDisplay::present(int32_t first, int32_t last, int32_t clientLeft,
                                int32_t clientTop) {
  if (locked_) {
    locked_->Unlock(nullptr);
    locked_ = nullptr;
  }
  if (!primary_ || first < 0 || last >= height_ || first > last) return false;
  if (exclusive_) return true;  // the rows went straight into the primary surface
  if (!offScreen_) return false;
  RECT source{0, first, width_, last + 1};
  RECT target{clientLeft, clientTop + first, clientLeft + width_, clientTop + last + 1};
  // Only the part on the display: a rectangle reaching past the primary
  // surface is refused as a whole.
  LONG cutLeft = std::max(0L, -target.left), cutTop = std::max(0L, -target.top);
  LONG cutRight = std::max(0L, target.right - displayWidth_);
  LONG cutBottom = std::max(0L, target.bottom - displayHeight_);
  source = {source.left + cutLeft, source.top + cutTop, source.right - cutRight,
            source.bottom - cutBottom};
  target = {target.left + cutLeft, target.top + cutTop, target.right - cutRight,
            target.bottom - cutBottom};
  if (source.left >= source.right || source.top >= source.bottom) return true;  // off the display
  // A display another program holds refuses the copy for a while: that is
  // no failure of the window, the next round shows the rows.
  if (primary_->Blt(&target, offScreen_, &source, DDBLT_WAIT, nullptr) == DDERR_SURFACELOST &&
      SUCCEEDED(primary_->Restore()))
    primary_->Blt(&target, offScreen_, &source, DDBLT_WAIT, nullptr);
  return true;
}

bool readKeyboardDevice(IDirectInputDeviceA& keyboard, uint8_t state[256]) {
  HRESULT result = keyboard.GetDeviceState(256, state);
  if (SUCCEEDED(result)) return true;
  std::memset(state, 0, 256);
  if (result != DIERR_INPUTLOST && result != DIERR_NOTACQUIRED) return true;
  keyboard.Acquire();
  return false;
}

bool DirectDrawDisplay::keyboardState(uint8_t state[256]) {
  std::memset(state, 0, 256);
  return !keyboard_ || readKeyboardDevice(*keyboard_, state);
}

void DirectDrawDisplay::waitForRetrace() {
  if (directDraw_) directDraw_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}

}  // namespace krgfx
