// Per-depth pixel routines and the block copy and fill of the graphics library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace krgfx {

struct DrawContext;

struct DepthRoutines {
  void (*putPixel)(DrawContext& context, int32_t x, int32_t y, uint32_t colour);
  uint32_t (*getPixel)(DrawContext& context, int32_t x, int32_t y);
  void (*fillSpan)(uint8_t* first, uint32_t colour, int32_t count);
  void (*copySpan)(uint8_t* destination, const uint8_t* source, int32_t count);
  void (*blendPutPixel)(DrawContext& context, int32_t x, int32_t y, uint32_t colour);
  void (*blendFillSpan)(uint8_t* first, uint32_t colour, int32_t count);
};

// The set chosen by the last selectDepthRoutines.
extern DepthRoutines depthRoutines;
extern void (*blockCopy)(void* destination, const void* source, size_t bytes);
extern void (*blockFill)(void* destination, uint8_t value, size_t bytes);

// Chooses the set for 1, 2 or 4 bytes per pixel (any other value takes 4),
// and the vector forms when the processor has them (marking the open screen).
void selectDepthRoutines(int32_t bytesPerPixel);

// Alpha blend of s over d as the plain routines compute it: colour channels
// blended, the source's alpha kept.
uint32_t blendPlain(uint32_t source, uint32_t destination);
// Alpha blend as the vector routines compute it: all four channels blended in
// 16-bit lanes.
uint32_t blendLanes(uint32_t source, uint32_t destination);

// The individual forms, for tests and benchmarks that compare them.
namespace spans {
void fill8Plain(uint8_t* first, uint32_t colour, int32_t count);
void fill16Plain(uint8_t* first, uint32_t colour, int32_t count);
void fill32Plain(uint8_t* first, uint32_t colour, int32_t count);
void blendFill32Plain(uint8_t* first, uint32_t colour, int32_t count);
void copyPlain(void* destination, const void* source, size_t bytes);
// A copy that reads the destination first and writes only the 128-byte
// stretches (and the tail) that differ: for a destination that mostly holds
// the source already, reading is cheaper than writing.
void copyChangedPlain(void* destination, const void* source, size_t bytes);
void fillBytesPlain(void* destination, uint8_t value, size_t bytes);

void fill16Sse2(uint8_t* first, uint32_t colour, int32_t count);
void fill32Sse2(uint8_t* first, uint32_t colour, int32_t count);
void blendFill32Sse2(uint8_t* first, uint32_t colour, int32_t count);
void copySse2(void* destination, const void* source, size_t bytes);
void copyChangedSse2(void* destination, const void* source, size_t bytes);
void fillBytesSse2(void* destination, uint8_t value, size_t bytes);

void fill16Avx2(uint8_t* first, uint32_t colour, int32_t count);
void fill32Avx2(uint8_t* first, uint32_t colour, int32_t count);
void blendFill32Avx2(uint8_t* first, uint32_t colour, int32_t count);
void copyAvx2(void* destination, const void* source, size_t bytes);
void copyChangedAvx2(void* destination, const void* source, size_t bytes);
void fillBytesAvx2(void* destination, uint8_t value, size_t bytes);
}  // namespace spans

}  // namespace krgfx
