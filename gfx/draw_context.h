// The process-wide drawing state: target, row table, clip rectangle, colours
// and the pixel routines for the target's depth.
#pragma once

#include <cstdint>

namespace krgfx {

struct RowCombinerTable;

struct ViewRect {
  int32_t x, y, width, height;
};

// DrawContext::flags
constexpr uint32_t contextRestoreScreenView = 0x1;
constexpr uint32_t contextImageTarget = 0x2;

struct DrawContext {
  int32_t serial;
  int32_t workPage;
  uint8_t** rowTable;
  int32_t rowCapacity;
  int32_t bytesPerPixel;
  int32_t pitch;
  void* target;  // null while the screen's work page is the target
  float lastX, lastY;
  ViewRect viewRect;
  ViewRect savedScreenView;
  float windowX, windowY, windowWidth, windowHeight;  // user-coordinate window, unused
  uint32_t foreColor;
  uint32_t backColor;
  void (*putPixel)(DrawContext& context, int32_t x, int32_t y, uint32_t colour);
  uint32_t (*getPixel)(DrawContext& context, int32_t x, int32_t y);
  void (*fillSpan)(uint8_t* first, uint32_t colour, int32_t count);
  const RowCombinerTable* combinerTable;
  uint32_t flags;
  int32_t viewSetExplicitly;  // the clip rectangle was set by the program
  int32_t textSeeThrough;     // printed glyphs leave their cell's background as it is
  ~DrawContext();
};

DrawContext& currentContext();
void bindTarget(DrawContext& context, void* target);
void chooseWriteMode(DrawContext& context, uint32_t colour);
void toTargetPixels(const DrawContext& context, float x, float y, int32_t* outX, int32_t* outY);
// x2 and y2 may be null when the operation has only one point.
void applyRelative(DrawContext& context, int32_t coordType, float* x1, float* y1, float* x2,
                   float* y2);
void orderCorners(int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2);

}  // namespace krgfx
