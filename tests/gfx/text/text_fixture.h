// Helpers for the text tests: reading pixels and cells of the screen and
// comparing drawn cells with the font data.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <krgfx/gfx.h>
#include <krgfx/text.h>
#include "gfx/builtin_data.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"
#include "runtime/runtime_state.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace text_testing {

constexpr uint32_t white = 0xFFFFFFFFu, black = 0xFF000000u;

inline uint32_t pixel(const GfxScreen& screen, int32_t x, int32_t y, int32_t page = 0) {
  const uint8_t* at = screen.pages[page] + static_cast<size_t>(y) * screen.pitch +
                      static_cast<size_t>(x) * screen.bytesPerPixel;
  uint32_t value = 0;
  std::memcpy(&value, at, static_cast<size_t>(screen.bytesPerPixel));
  return value;
}

// The characters of one grid row (0-based) of a page, as the cells record them.
inline std::string cellRow(const GfxScreen& screen, int32_t row, int32_t page = 0) {
  std::string text;
  for (int32_t col = 0; col < screen.textCols; ++col)
    text.push_back(
        static_cast<char>(screen.textCells[page][row * screen.textCols + col].character));
  return text;
}

// Every pixel of the cell at pixel (px, py) against glyph `code` of the font.
inline ::testing::AssertionResult glyphAt(const GfxScreen& screen, const FontDesc& font,
                                          uint8_t code, int32_t px, int32_t py, uint32_t fore,
                                          uint32_t back) {
  const uint8_t* rows = font.glyphs + code * font.height;
  for (int32_t r = 0; r < font.height; ++r)
    for (int32_t i = 0; i < 8; ++i) {
      uint32_t expected = (rows[r] >> i & 1) ? fore : back;
      uint32_t actual = pixel(screen, px + i, py + r);
      if (actual != expected)
        return ::testing::AssertionFailure()
               << "glyph " << int(code) << " at (" << px << "," << py << "): pixel (" << px + i
               << "," << py + r << ") is " << std::hex << actual << ", font says " << expected;
    }
  return ::testing::AssertionSuccess();
}

// Counts pixels of a rectangle that differ from a colour.
inline int32_t pixelsOtherThan(const GfxScreen& screen, uint32_t colour, int32_t x0, int32_t y0,
                               int32_t x1, int32_t y1) {
  int32_t count = 0;
  for (int32_t y = y0; y < y1; ++y)
    for (int32_t x = x0; x < x1; ++x) count += pixel(screen, x, y) != colour;
  return count;
}

inline void print(const std::string& text, int32_t mask = 0) {
  runtimeState.hooks.outputBytes(reinterpret_cast<const uint8_t*>(text.data()),
                                 static_cast<int32_t>(text.size()), mask);
}

inline void clearDirty(GfxScreen& screen) { std::memset(screen.dirtyLines, 0, screen.height); }

}  // namespace text_testing

}  // namespace krgfx
