// The drawing context: which buffer is drawn into, its rows, clip rectangle,
// colours and pixel routines. It follows the screen by its serial number.
#include "gfx/draw_context.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "gfx/depth_routines.h"
#include "gfx/screen.h"
#include "runtime/runtime_contexts.h"

namespace krgfx {

DrawContext::~DrawContext() { delete[] rowTable; }

namespace {

void resetForScreen(DrawContext& context, const GfxScreen& screen) {
  delete[] context.rowTable;
  context = DrawContext{};
  context.serial = screen.serial;
  context.savedScreenView = {0, 0, screen.width, screen.height};
  context.rowTable = new uint8_t*[static_cast<size_t>(screen.height)]();
  context.rowCapacity = screen.height;
  context.foreColor = screen.depth >= 5 && screen.depth <= 8 ? 15 : screen.colorMask;
  context.backColor = screen.colorMask & 0xFF000000u;
  context.flags = contextRestoreScreenView;
  bindTarget(context, nullptr);
  context.putPixel = depthRoutines.putPixel;
  context.fillSpan = depthRoutines.fillSpan;
  context.getPixel = depthRoutines.getPixel;
}

void ensureRowCapacity(DrawContext& context, int32_t rows) {
  if (rows <= context.rowCapacity) return;
  delete[] context.rowTable;
  context.rowTable = new uint8_t*[static_cast<size_t>(rows)]();
  context.rowCapacity = rows;
}

void bindImage(DrawContext& context, void* image) {
  if (!(context.flags & contextImageTarget)) context.savedScreenView = context.viewRect;
  context.viewRect.x = 0;
  context.viewRect.y = 0;
  auto* header = static_cast<uint8_t*>(image);
  uint32_t type;
  std::memcpy(&type, header, 4);
  int32_t width, height;
  uint8_t* pixels;
  if (type == 7) {
    int32_t fields[4];  // bpp, width, height, pitch
    std::memcpy(fields, header + 4, sizeof fields);
    context.bytesPerPixel = fields[0];
    width = fields[1];
    height = fields[2];
    context.pitch = fields[3];
    selectDepthRoutines(context.bytesPerPixel);
    pixels = header + 32;
  } else {
    uint16_t words[2];
    std::memcpy(words, header, sizeof words);
    width = words[0] >> 3;
    height = words[1];
    context.bytesPerPixel = gfxScreen ? gfxScreen->bytesPerPixel : 4;
    context.pitch = width * context.bytesPerPixel;
    pixels = header + 4;
  }
  context.viewRect.width = width;
  context.viewRect.height = height;
  ensureRowCapacity(context, height);
  // Row offsets in 64 bits: a target may be larger than 2 GiB.
  for (int32_t row = 0; row < height; ++row)
    context.rowTable[row] = pixels + static_cast<ptrdiff_t>(row) * context.pitch;
  context.flags |= contextImageTarget;
  context.target = image;
}

void bindScreen(DrawContext& context) {
  if (context.flags & (contextRestoreScreenView | contextImageTarget)) {
    const GfxScreen& screen = *gfxScreen;
    context.viewRect = context.savedScreenView;
    context.bytesPerPixel = screen.bytesPerPixel;
    context.pitch = screen.pitch;
    ensureRowCapacity(context, screen.height);
    uint8_t* page = screen.pages[context.workPage];
    for (int32_t row = 0; row < screen.height; ++row)
      context.rowTable[row] = page + static_cast<ptrdiff_t>(row) * screen.pitch;
    selectDepthRoutines(screen.bytesPerPixel);
    context.flags &= ~(contextRestoreScreenView | contextImageTarget);
  }
  context.target = nullptr;
}

int32_t roundHalfAway(float value) {
  double rounded = std::round(static_cast<double>(value));
  if (!(rounded >= INT32_MIN)) return INT32_MIN;  // also not-a-number
  if (rounded > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(rounded);
}

int32_t clampedSum(int32_t a, int32_t b) {
  int64_t sum = static_cast<int64_t>(a) + b;
  return static_cast<int32_t>(sum < INT32_MIN ? INT32_MIN : sum > INT32_MAX ? INT32_MAX : sum);
}

}  // namespace

DrawContext& currentContext() {
  DrawContext& context = runtimeContext<DrawContext>(contextDraw);
  if (gfxScreen && context.serial != gfxScreen->serial) resetForScreen(context, *gfxScreen);
  return context;
}

void bindTarget(DrawContext& context, void* target) {
  if (target) {
    if (target != context.target) bindImage(context, target);
  } else if (gfxScreen) {
    bindScreen(context);
  }
}

void chooseWriteMode(DrawContext& context, uint32_t colour) {
  bool blend = gfxScreen && (gfxScreen->flags & screenAlphaBlend) && context.bytesPerPixel == 4 &&
               (colour >> 24) != 0xFF;
  context.putPixel = blend ? depthRoutines.blendPutPixel : depthRoutines.putPixel;
  context.fillSpan = blend ? depthRoutines.blendFillSpan : depthRoutines.fillSpan;
  context.getPixel = depthRoutines.getPixel;
}

void toTargetPixels(const DrawContext& context, float x, float y, int32_t* outX, int32_t* outY) {
  *outX = clampedSum(roundHalfAway(x), context.viewRect.x);
  *outY = clampedSum(roundHalfAway(y), context.viewRect.y);
}

void applyRelative(DrawContext& context, int32_t coordType, float* x1, float* y1, float* x2,
                   float* y2) {
  bool second = x2 && y2;
  switch (coordType & 7) {
    case 1:
      if (second) *x2 += *x1, *y2 += *y1;
      break;
    case 2:
    case 5:
      *x1 += context.lastX, *y1 += context.lastY;
      break;
    case 3:
      *x1 += context.lastX, *y1 += context.lastY;
      if (second) *x2 += *x1, *y2 += *y1;
      break;
    default:
      break;
  }
  context.lastX = second ? *x2 : *x1;
  context.lastY = second ? *y2 : *y1;
}

void orderCorners(int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2) {
  if (*x2 < *x1) std::swap(*x1, *x2);
  if (*y2 < *y1) std::swap(*y1, *y2);
}

}  // namespace krgfx
