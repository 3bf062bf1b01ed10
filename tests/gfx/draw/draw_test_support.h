// Helpers for the drawing tests: a small screen, its pixels as text pictures
// and independent per-pixel references of the shapes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <krgfx/text.h>
#include "gfx/cpu_features.h"
#include "gfx/depth_routines.h"
#include "gfx/screen.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace draw_test {

using Picture = std::vector<std::string>;

// The raw pixel at (x, y) of a screen page.
inline uint32_t pagePixel(int32_t x, int32_t y, int32_t page = 0) {
  const GfxScreen& screen = *gfxScreen;
  const uint8_t* at = screen.pages[page] + y * screen.pitch + x * screen.bytesPerPixel;
  if (screen.bytesPerPixel == 1) return at[0];
  if (screen.bytesPerPixel == 2) {
    uint16_t value;
    std::memcpy(&value, at, 2);
    return value;
  }
  uint32_t value;
  std::memcpy(&value, at, 4);
  return value;
}

// The screen as rows of text: '#' where the pixel equals `ink`, '.' where it
// equals the background a new screen has, '?' elsewhere.
inline Picture screenPicture(uint32_t ink, int32_t page = 0) {
  const GfxScreen& screen = *gfxScreen;
  uint32_t background = screen.colorMask & 0xFF000000u;
  Picture rows;
  for (int32_t y = 0; y < screen.height; ++y) {
    std::string row;
    for (int32_t x = 0; x < screen.width; ++x) {
      uint32_t pixel = pagePixel(x, y, page);
      row += pixel == ink ? '#' : pixel == background ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// s blended over d as the screen's blending routines do it: the plain form
// or, where the processor has vector units, the vector form.
inline uint32_t screenBlend(uint32_t s, uint32_t d) {
  return vectorLevel() == VectorLevel::plain ? blendPlain(s, d) : blendLanes(s, d);
}

inline Picture blankPicture(int32_t width, int32_t height) {
  return Picture(static_cast<size_t>(height), std::string(static_cast<size_t>(width), '.'));
}

// Sets '#' at (x, y) when it lies inside the picture.
inline void mark(Picture& picture, int64_t x, int64_t y) {
  if (y >= 0 && y < static_cast<int64_t>(picture.size()) && x >= 0 &&
      x < static_cast<int64_t>(picture[0].size()))
    picture[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
}

// A line as the rule says, pixel by pixel with no clipping: step i along the
// longer axis, the shorter axis at i * minor / major rounded, halves up.
inline void referenceLine(Picture& picture, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  int64_t dx = x2 - x1, dy = y2 - y1;
  int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int64_t major = adx > ady ? adx : ady;
  if (major == 0) return mark(picture, x1, y1);
  for (int64_t i = 0; i <= major; ++i) {
    // Exact rational position, rounded with halves going forwards.
    auto rounded = [&](int64_t delta) {
      int64_t magnitude = delta < 0 ? -delta : delta;
      int64_t steps = (2 * i * magnitude + major) / (2 * major);
      return delta < 0 ? -steps : steps;
    };
    mark(picture, x1 + rounded(dx), y1 + rounded(dy));
  }
}

// An ellipse as the rule says, by testing every pixel: inside when
// (x / (rx + 1/2))^2 + (y / (ry + 1/2))^2 <= 1; the outline is the inside
// pixels with a 4-neighbour outside.
inline bool insideEllipse(int64_t x, int64_t y, int64_t rx, int64_t ry) {
  double a = static_cast<double>(x) / (rx + 0.5), b = static_cast<double>(y) / (ry + 0.5);
  return a * a + b * b <= 1.0 + 1e-12;
}

inline void referenceEllipse(Picture& picture, int64_t cx, int64_t cy, int64_t rx, int64_t ry,
                             bool filled) {
  for (int64_t y = -ry - 1; y <= ry + 1; ++y)
    for (int64_t x = -rx - 1; x <= rx + 1; ++x) {
      if (!insideEllipse(x, y, rx, ry)) continue;
      bool edge = !insideEllipse(x - 1, y, rx, ry) || !insideEllipse(x + 1, y, rx, ry) ||
                  !insideEllipse(x, y - 1, rx, ry) || !insideEllipse(x, y + 1, rx, ry);
      if (filled || edge) mark(picture, cx + x, cy + y);
    }
}

inline std::string shown(const Picture& picture) {
  std::string text = "\n";
  for (const std::string& row : picture) text += row + "\n";
  return text;
}

}  // namespace draw_test

#define EXPECT_PICTURE(actual, expected) \
  EXPECT_EQ(draw_test::shown(actual), draw_test::shown(expected))

}  // namespace krgfx
