// Showing rows in the window: "GDI" hands rows of the caller's memory to
// SetDIBitsToDevice as a top-down bitmap (8-bit screens with the layer's
// palette as colour table and logical palette); "DirectX" converts into a
// DirectDraw surface and copies it to the client area.
#include <cstring>

#include "gfx/display/win32/win32_window_system.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

// A bitmap description with room for 256 colours (or three bit masks).
struct BitmapDescription {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

}  // namespace

// The bitmap format GDI is handed: palette indices up to 8 bits, 5-5-5 for
// 16-bit screens, 0x00RRGGBB words otherwise.
int32_t Win32WindowSystem::dibDepth() const {
  int32_t depth = windowLayer.depth;
  return depth <= 8 ? 8 : depth <= 16 ? 15 : 32;
}

DisplayFormat Win32WindowSystem::displayFormat() {
  if (path_ == PresentPath::sharedSurface)
    return directDraw_ ? directDraw_->format() : DisplayFormat{};
  return {dibDepth(), 0};
}

int32_t Win32WindowSystem::refreshRate() {
  if (path_ == PresentPath::sharedSurface) return directDraw_ ? directDraw_->refreshRate() : 0;
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  int rate = GetDeviceCaps(screen, VREFRESH);
  ReleaseDC(nullptr, screen);
  return rate > 1 ? rate : 0;  // 0 and 1 stand for the hardware's default
}

void Win32WindowSystem::waitForRetrace(int32_t timeoutMs) {
  if (directDraw_)
    directDraw_->waitForRetrace();
  else
    Sleep(static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0));
}

PixelSurface Win32WindowSystem::surface() {
  if (!window_ || !directDraw_) return {nullptr, 0};
  bool restored = false;
  PixelSurface locked = directDraw_->lock(&restored);
  if (restored || surfaceRestored_) {
    // The surface lost its picture: every row is converted and shown again.
    surfaceRestored_ = true;
    markAllRowsDirty();
  }
  return locked;
}

bool Win32WindowSystem::presentRows(int32_t first, int32_t last) {
  if (!window_ || !directDraw_) return false;
  if (surfaceRestored_) {
    first = 0;
    last = height_ - 1;
    surfaceRestored_ = false;
  }
  WindowRect client = clientRectOnScreen();
  return directDraw_->present(first, last, client.left, client.top);
}

// A window that shows nothing (minimised or covered) may take no row; only a
// window that is gone fails.
bool Win32WindowSystem::presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first,
                                      int32_t last) {
  if (!window_ || !IsWindow(window_) || !pixels || first < 0 || last >= height_ || first > last ||
      pitch % presentRowAlignment != 0)
    return false;
  HDC dc = GetDC(window_);
  if (!dc) return false;
  int32_t depth = dibDepth();
  if (depth == 8) applyLogicalPalette(dc);
  if (colourKeyed_) applyColourKey();
  int32_t bits = depth == 15 ? 16 : depth;
  int32_t bitmapPitch = (width_ * bits + 31) / 32 * 4;
  if (pitch == bitmapPitch) {
    showDibRows(dc, pixels + static_cast<ptrdiff_t>(first) * pitch, pitch, first, last - first + 1);
  } else {
    // Rows further apart than a bitmap's go one at a time.
    for (int32_t row = first; row <= last; ++row)
      showDibRows(dc, pixels + static_cast<ptrdiff_t>(row) * pitch, pitch, row, 1);
  }
  ReleaseDC(window_, dc);
  return true;
}

void Win32WindowSystem::showDibRows(HDC dc, const uint8_t* pixels, int32_t /*pitch*/, int32_t first,
                                    int32_t rows) {
  BitmapDescription description{};
  BITMAPINFOHEADER& header = description.header;
  int32_t depth = dibDepth();
  header.biSize = sizeof header;
  header.biWidth = width_;
  header.biHeight = -rows;  // top-down
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(depth == 15 ? 16 : depth);
  header.biCompression = BI_RGB;
  if (depth == 8) {
    header.biClrUsed = 256;
    for (int32_t i = 0; i < 256; ++i) {
      const PaletteEntry& entry = windowLayer.paletteEntries[i];
      description.colours[i] = {entry.blue, entry.green, entry.red, 0};
    }
  }
  SetDIBitsToDevice(dc, 0, first, static_cast<DWORD>(width_), static_cast<DWORD>(rows), 0, 0, 0,
                    static_cast<UINT>(rows), pixels, reinterpret_cast<BITMAPINFO*>(&description),
                    DIB_RGB_COLORS);
}

// The layer's 256 entries as the window's logical palette (what an 8-bit
// display shows); made again whenever the entries change.
void Win32WindowSystem::applyLogicalPalette(HDC dc) {
  const PaletteEntry* entries = windowLayer.paletteEntries;
  if (!palette_ || std::memcmp(paletteShown_, entries, sizeof paletteShown_) != 0) {
    std::memcpy(paletteShown_, entries, sizeof paletteShown_);
    struct {
      WORD version, count;
      PALETTEENTRY colours[256];
    } logical{0x300, 256, {}};
    for (int32_t i = 0; i < 256; ++i)
      logical.colours[i] = {entries[i].red, entries[i].green, entries[i].blue, PC_NOCOLLAPSE};
    if (palette_) DeleteObject(palette_);
    palette_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
  }
  if (!palette_) return;
  SelectPalette(dc, palette_, FALSE);
  RealizePalette(dc);
}

}  // namespace krgfx
