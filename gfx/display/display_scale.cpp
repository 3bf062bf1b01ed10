// The display scale and the full-screen picture's place.
#include "gfx/display/display_scale.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "gfx/display/blitter.h"
#include "gfx/screen.h"

namespace krgfx {

namespace {

constexpr int32_t ordinaryDpi = 96;
constexpr int32_t fractionalUnit = 120;  // a fractional scale counts 120ths

bool equalsIgnoringCase(const char* text, const char* word) {
  for (; *text && *word; ++text, ++word)
    if (std::tolower(static_cast<unsigned char>(*text)) != *word) return false;
  return *text == *word;
}

}  // namespace

int32_t parseDisplayScale(const char* text) {
  if (!text) return -1;
  if (equalsIgnoringCase(text, "auto")) return 0;
  if (text[0] >= '1' && text[0] <= '0' + maxDisplayScale && text[1] == 0) return text[0] - '0';
  return -1;
}

int32_t dpiFromResources(const char* resources) {
  if (!resources) return 0;
  static constexpr char name[] = "Xft.dpi:";
  for (const char* line = resources; line && *line;) {
    if (std::strncmp(line, name, sizeof name - 1) == 0) {
      const char* value = line + sizeof name - 1;
      while (*value == ' ' || *value == '\t') ++value;
      char* end = nullptr;
      double dpi = std::strtod(value, &end);
      if (end == value || !(dpi > 0) || dpi > 10000) return 0;
      return static_cast<int32_t>(dpi + 0.5);
    }
    line = std::strchr(line, '\n');
    if (line) ++line;
  }
  return 0;
}

int32_t scaleForDpi(int32_t dpi) {
  if (dpi <= 0) return 1;
  return std::clamp((dpi + ordinaryDpi / 2) / ordinaryDpi, 1, maxDisplayScale);
}

int32_t wholeScaleWithin(int32_t scale120) {
  return std::clamp(scale120 / fractionalUnit, 1, maxDisplayScale);
}

int32_t logicalLength(int32_t pixels, int32_t scale120) {
  if (scale120 <= 0 || pixels <= 0) return pixels;
  int64_t length = (int64_t{pixels} * fractionalUnit + scale120 / 2) / scale120;
  return static_cast<int32_t>(std::max<int64_t>(length, 1));
}

int32_t requestedDisplayScale() {
  int32_t fromEnvironment = parseDisplayScale(std::getenv("KRGFX_SCALE"));
  return fromEnvironment >= 0 ? fromEnvironment : displayScaleRequest;
}

int32_t windowScale(int32_t requested, int32_t dpi, int32_t width, int32_t height,
                    const WindowRect& workArea) {
  int32_t scale = requested > 0 ? std::min(requested, maxDisplayScale) : scaleForDpi(dpi);
  const int64_t areaWidth = workArea.right - workArea.left;
  const int64_t areaHeight = workArea.bottom - workArea.top;
  while (scale > 1 && (int64_t{width} * scale > areaWidth || int64_t{height} * scale > areaHeight))
    --scale;
  return scale;
}

PicturePlacement desktopPicture(int32_t width, int32_t height, const WindowRect& screen) {
  const int32_t screenWidth = screen.right - screen.left;
  const int32_t screenHeight = screen.bottom - screen.top;
  if (width <= 0 || height <= 0) return {0, 0, 0};
  int32_t scale = std::min({screenWidth / width, screenHeight / height, maxDisplayScale});
  if (scale < 1) return {0, 0, 0};
  return {(screenWidth - width * scale) / 2, (screenHeight - height * scale) / 2, scale};
}

bool desktopFullScreenWanted() {
  const char* setting = std::getenv("KRGFX_FULLSCREEN");
  return setting && equalsIgnoringCase(setting, "desktop");
}

}  // namespace krgfx
