// Plain per-depth pixel routines and the choice between plain and vector forms.
#include "gfx/depth_routines.h"

#include <cstring>

#include "gfx/cpu_features.h"
#include "gfx/draw_context.h"
#include "gfx/screen.h"

namespace krgfx {

uint32_t blendPlain(uint32_t s, uint32_t d) {
  uint32_t a = s >> 24;
  uint32_t rb = (((((s & 0xFF00FFu) - (d & 0xFF00FFu)) * a) >> 8) + (d & 0xFF00FFu)) & 0xFF00FFu;
  uint32_t g = (((((s & 0xFF00u) - (d & 0xFF00u)) * a) >> 8) + (d & 0xFF00u)) & 0xFF00u;
  return rb | g | (s & 0xFF000000u);
}

uint32_t blendLanes(uint32_t s, uint32_t d) {
  uint32_t a = s >> 24;
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    uint32_t dc = (d >> shift) & 0xFF, sc = (s >> shift) & 0xFF;
    uint16_t lane = static_cast<uint16_t>((dc << 8) + static_cast<uint16_t>((sc - dc) * a));
    result |= static_cast<uint32_t>(lane >> 8) << shift;
  }
  return result;
}

namespace spans {

void fill8Plain(uint8_t* first, uint32_t colour, int32_t count) {
  if (count > 0) std::memset(first, static_cast<uint8_t>(colour), static_cast<size_t>(count));
}

void fill16Plain(uint8_t* first, uint32_t colour, int32_t count) {
  uint16_t value = static_cast<uint16_t>(colour);
  for (int32_t i = 0; i < count; ++i) std::memcpy(first + 2 * i, &value, 2);
}

void fill32Plain(uint8_t* first, uint32_t colour, int32_t count) {
  for (int32_t i = 0; i < count; ++i) std::memcpy(first + 4 * i, &colour, 4);
}

void blendFill32Plain(uint8_t* first, uint32_t colour, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    uint32_t pixel;
    std::memcpy(&pixel, first + 4 * i, 4);
    pixel = blendPlain(colour, pixel);
    std::memcpy(first + 4 * i, &pixel, 4);
  }
}

void copyPlain(void* destination, const void* source, size_t bytes) {
  if (bytes) std::memmove(destination, source, bytes);
}

void copyChangedPlain(void* destination, const void* source, size_t bytes) {
  auto* out = static_cast<uint8_t*>(destination);
  const auto* in = static_cast<const uint8_t*>(source);
  for (size_t at = 0; at < bytes; at += 128) {
    size_t stretch = bytes - at < 128 ? bytes - at : 128;
    if (std::memcmp(out + at, in + at, stretch) != 0) std::memcpy(out + at, in + at, stretch);
  }
}

void fillBytesPlain(void* destination, uint8_t value, size_t bytes) {
  if (bytes) std::memset(destination, value, bytes);
}

}  // namespace spans

namespace {

void blendFill32Lanes(uint8_t* first, uint32_t colour, int32_t count) {
  if (vectorLevel() == VectorLevel::avx2)
    spans::blendFill32Avx2(first, colour, count);
  else
    spans::blendFill32Sse2(first, colour, count);
}

uint8_t* pixelAddress(DrawContext& context, int32_t x, int32_t y, int32_t size) {
  return context.rowTable[y] + x * size;
}

template <typename Pixel>
void putPixel(DrawContext& context, int32_t x, int32_t y, uint32_t colour) {
  Pixel value = static_cast<Pixel>(colour);
  std::memcpy(pixelAddress(context, x, y, sizeof(Pixel)), &value, sizeof(Pixel));
}

template <typename Pixel>
uint32_t getPixel(DrawContext& context, int32_t x, int32_t y) {
  Pixel value;
  std::memcpy(&value, pixelAddress(context, x, y, sizeof(Pixel)), sizeof(Pixel));
  return value;
}

template <uint32_t (*Blend)(uint32_t, uint32_t)>
void blendPutPixel32(DrawContext& context, int32_t x, int32_t y, uint32_t colour) {
  putPixel<uint32_t>(context, x, y, Blend(colour, getPixel<uint32_t>(context, x, y)));
}

template <int32_t Size>
void copySpan(uint8_t* destination, const uint8_t* source, int32_t count) {
  if (count > 0) blockCopy(destination, source, static_cast<size_t>(count) * Size);
}

void fill8(uint8_t* first, uint32_t colour, int32_t count) {
  if (count > 0) blockFill(first, static_cast<uint8_t>(colour), static_cast<size_t>(count));
}

}  // namespace

DepthRoutines depthRoutines = {putPixel<uint32_t>, getPixel<uint32_t>, spans::fill32Plain,
                               copySpan<4>,        putPixel<uint32_t>, spans::fill32Plain};
void (*blockCopy)(void*, const void*, size_t) = spans::copyPlain;
void (*blockFill)(void*, uint8_t, size_t) = spans::fillBytesPlain;

void selectDepthRoutines(int32_t bytesPerPixel) {
  VectorLevel level = vectorLevel();
  bool avx2 = level == VectorLevel::avx2;
  bool vector = level != VectorLevel::plain;
  blockCopy = avx2 ? spans::copyAvx2 : vector ? spans::copySse2 : spans::copyPlain;
  blockFill = avx2 ? spans::fillBytesAvx2 : vector ? spans::fillBytesSse2 : spans::fillBytesPlain;
  if (bytesPerPixel == 1) {
    depthRoutines = {putPixel<uint8_t>, getPixel<uint8_t>, fill8,
                     copySpan<1>,       putPixel<uint8_t>, fill8};
  } else if (bytesPerPixel == 2) {
    auto fill16 = avx2 ? spans::fill16Avx2 : vector ? spans::fill16Sse2 : spans::fill16Plain;
    depthRoutines = {putPixel<uint16_t>, getPixel<uint16_t>, fill16,
                     copySpan<2>,        putPixel<uint16_t>, fill16};
  } else {
    auto fill32 = avx2 ? spans::fill32Avx2 : vector ? spans::fill32Sse2 : spans::fill32Plain;
    depthRoutines = {putPixel<uint32_t>,
                     getPixel<uint32_t>,
                     fill32,
                     copySpan<4>,
                     vector ? blendPutPixel32<blendLanes> : blendPutPixel32<blendPlain>,
                     vector ? blendFill32Lanes : spans::blendFill32Plain};
  }
  if (gfxScreen && vector) gfxScreen->flags |= screenMmx;
}

}  // namespace krgfx
