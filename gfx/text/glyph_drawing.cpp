// Drawing glyphs into the screen's work page and scrolling the text view:
// the print region routines of the graphics screen.
#include <algorithm>

#include "gfx/depth_routines.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"
#include "gfx/text/screen_text.h"
#include "gfx/text/text_cells.h"

namespace krgfx {

namespace screenText {
namespace {

constexpr uint8_t underlineMark = 255;

void widenDirty(PrintRegion& region, int32_t first, int32_t end) {
  if (region.dirtyFirst == region.dirtyEnd) {
    region.dirtyFirst = first;
    region.dirtyEnd = end;
  } else {
    region.dirtyFirst = std::min(region.dirtyFirst, first);
    region.dirtyEnd = std::max(region.dirtyEnd, end);
  }
}

void drawGlyph(DrawContext& context, const FontDesc& font, uint8_t code, int32_t px, int32_t py) {
  int32_t bytesPerRow = (font.width + 7) / 8;
  const uint8_t* rows = font.glyphs + code * font.height * bytesPerRow;
  for (int32_t r = 0; r < font.height; ++r)
    for (int32_t b = 0; b < bytesPerRow; ++b) {
      uint8_t bits = rows[r * bytesPerRow + b];
      for (int32_t i = 0; i < 8; ++i) {
        bool set = bits >> i & 1;
        if (!set && context.textSeeThrough) continue;
        context.putPixel(context, px + 8 * b + i, py + r,
                         set ? context.foreColor : context.backColor);
      }
    }
}

// The line editor's cursor mark: the cell's last pixel row in the foreground.
void drawUnderline(DrawContext& context, const FontDesc& font, int32_t px, int32_t py) {
  for (int32_t i = 0; i < font.width; ++i)
    context.putPixel(context, px + i, py + font.height - 1, context.foreColor);
}

}  // namespace

int32_t drawGlyphs(PrintRegion& region, const uint8_t* bytes, int32_t count) {
  const GfxScreen* screen = gfxScreen;
  if (!screen || !screen->font || !screen->font->glyphs) return 1;
  const FontDesc& font = *screen->font;
  // Cells outside the grid or the pixels are never drawn.
  count = std::min(count, gridColumnsFrom(*screen, region.x));
  if (count <= 0 || !rowInGrid(*screen, region.y)) return 1;
  DrawContext& context = *region.target;
  int32_t px = region.x * font.width, py = region.y * font.height;
  if (count == 1 && bytes[0] == underlineMark) {
    drawUnderline(context, font, px, py);
  } else {
    for (int32_t i = 0; i < count; ++i) drawGlyph(context, font, bytes[i], px + i * font.width, py);
  }
  widenDirty(region, py, py + font.height);
  TextCell* cells = workPageCells(*screen, context) + region.y * screen->textCols + region.x;
  for (int32_t i = 0; i < count; ++i) cells[i] = {bytes[i], context.foreColor, context.backColor};
  return 1;
}

void scrollRegion(PrintRegion& region, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  int32_t lines) {
  // The cursor stays on the region's last row, whatever moves.
  region.y = bottom;
  const GfxScreen* screen = gfxScreen;
  if (!screen || !screen->font || lines < 0) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, gridColumnsFrom(*screen, 0) - 1);
  bottom = std::min(bottom, drawableRows(*screen) - 1);
  if (left > right || top > bottom) return;
  DrawContext& context = *region.target;
  const FontDesc& font = *screen->font;
  int32_t firstRow = top * font.height;
  int32_t height = (bottom - top + 1) * font.height;
  int32_t rowPixels = (right - left + 1) * font.width;
  int64_t shift = static_cast<int64_t>(lines) * font.height;
  if (shift != 0) {
    int32_t kept = shift < height ? height - static_cast<int32_t>(shift) : 0;
    for (int32_t i = 0; i < kept; ++i)
      depthRoutines.copySpan(context.rowTable[firstRow + i],
                             context.rowTable[firstRow + (height - kept) + i], rowPixels);
    for (int32_t i = kept; i < height; ++i)
      context.fillSpan(context.rowTable[firstRow + i], context.backColor, rowPixels);
    widenDirty(region, firstRow, firstRow + height);
  }
  scrollCells(*screen, context, left, top, right, bottom, lines);
}

}  // namespace screenText

}  // namespace krgfx
