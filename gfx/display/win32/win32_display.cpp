// Display modes, the screen saver and the bell.
#include "gfx/display/win32/win32_window_system.h"

namespace krgfx {

namespace {

DEVMODEA currentSettings(const char* device) {
  DEVMODEA settings{};
  settings.dmSize = sizeof settings;
  if (!EnumDisplaySettingsA(device, ENUM_CURRENT_SETTINGS, &settings)) settings.dmBitsPerPel = 0;
  return settings;
}

}  // namespace

// The modes of the display's current depth.
std::vector<DisplayMode> Win32WindowSystem::displayModes() {
  const char* device = deviceName_.empty() ? nullptr : deviceName_.c_str();
  DWORD bits = currentSettings(device).dmBitsPerPel;
  std::vector<DisplayMode> modes;
  DEVMODEA settings{};
  settings.dmSize = sizeof settings;
  for (DWORD index = 0; EnumDisplaySettingsA(device, index, &settings); ++index)
    if (settings.dmBitsPerPel == bits)
      modes.push_back({static_cast<int32_t>(settings.dmPelsWidth),
                       static_cast<int32_t>(settings.dmPelsHeight),
                       static_cast<int32_t>(settings.dmDisplayFrequency)});
  return modes;
}

bool Win32WindowSystem::setDisplayMode(const DisplayMode& mode) {
  if (path_ == PresentPath::sharedSurface) {
    // DirectDraw changes the mode once its full-screen window has exclusive
    // cooperation; here the mode is only looked for.
    for (const DisplayMode& offered : displayModes())
      if (offered.width == mode.width && offered.height == mode.height) {
        wantedMode_ = mode;
        modeWanted_ = true;
        return true;
      }
    return false;
  }
  DEVMODEA settings{};
  settings.dmSize = sizeof settings;
  settings.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  settings.dmPelsWidth = static_cast<DWORD>(mode.width);
  settings.dmPelsHeight = static_cast<DWORD>(mode.height);
  int32_t depth = windowLayer.depth;
  settings.dmBitsPerPel = static_cast<DWORD>(depth <= 8 ? 8 : depth <= 16 ? 16 : 32);
  if (mode.refreshRate > 0) {
    settings.dmFields |= DM_DISPLAYFREQUENCY;
    settings.dmDisplayFrequency = static_cast<DWORD>(mode.refreshRate);
  }
  LONG result = user32_.changeDisplaySettingsExA
                    ? user32_.changeDisplaySettingsExA(
                          deviceName_.empty() ? nullptr : deviceName_.c_str(), &settings, nullptr,
                          CDS_FULLSCREEN, nullptr)
                    : ChangeDisplaySettingsA(&settings, CDS_FULLSCREEN);
  modeChanged_ = result == DISP_CHANGE_SUCCESSFUL;
  return modeChanged_;
}

void Win32WindowSystem::restoreDisplayMode() {
  if (path_ == PresentPath::sharedSurface) {
    if (directDraw_) directDraw_->detach();
    modeWanted_ = false;
    return;
  }
  if (!modeChanged_) return;
  modeChanged_ = false;
  if (user32_.changeDisplaySettingsExA)
    user32_.changeDisplaySettingsExA(deviceName_.empty() ? nullptr : deviceName_.c_str(), nullptr,
                                     nullptr, 0, nullptr);
  else
    ChangeDisplaySettingsA(nullptr, 0);
}

void Win32WindowSystem::suspendScreenSaver() {
  if (!saverSaved_) {
    saverSaved_ = SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &saverWasActive_, 0) != FALSE;
  }
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
}

void Win32WindowSystem::restoreScreenSaver() {
  if (!saverSaved_) return;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, static_cast<UINT>(saverWasActive_), nullptr, 0);
  saverSaved_ = false;
}

// BEL: 1000 Hz for 250 ms.
void Win32WindowSystem::bell() { Beep(1000, 250); }

}  // namespace krgfx
