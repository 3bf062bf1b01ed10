// The plain row combiners, the combiner tables, and the entry points that
// pick a form: transparentCopy by the target's depth, alphaMaskCopy by the
// processor.
#include "gfx/image/row_combiners.h"

#include "gfx/cpu_features.h"
#include "gfx/draw_context.h"
#include "gfx/image/row_walk.h"
#include "gfx/screen.h"

namespace krgfx {

namespace combiners {

namespace {
template <int32_t SourceSize, int32_t DestinationSize, void (*Pixel)(const uint8_t*, uint8_t*)>
void plainRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
               int32_t sourcePitch, int32_t destinationPitch) {
  walkRows<1, SourceSize, DestinationSize>(source, destination, width, height, sourcePitch,
                                           destinationPitch, Pixel, Pixel);
}
}  // namespace

void transparent8Plain(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                       int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  plainRows<1, 1, transparentPixel8>(source, destination, width, height, sourcePitch,
                                     destinationPitch);
}

void transparent16Plain(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                        int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  plainRows<2, 2, transparentPixel16>(source, destination, width, height, sourcePitch,
                                      destinationPitch);
}

void transparent32Plain(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                        int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  plainRows<4, 4, transparentPixel32>(source, destination, width, height, sourcePitch,
                                      destinationPitch);
}

void alphaMaskPlain(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                    int32_t sourcePitch, int32_t destinationPitch, int32_t, void*, void*) {
  plainRows<1, 4, alphaMaskPixel>(source, destination, width, height, sourcePitch,
                                  destinationPitch);
}

}  // namespace combiners

const RowCombinerTable plainCombinerTable = {{combiners::transparent8Plain,
                                              combiners::transparent16Plain, nullptr,
                                              combiners::transparent32Plain}};
const RowCombinerTable sse2CombinerTable = {{combiners::transparent8Sse2,
                                             combiners::transparent16Sse2, nullptr,
                                             combiners::transparent32Sse2}};
const RowCombinerTable avx2CombinerTable = {{combiners::transparent8Avx2,
                                             combiners::transparent16Avx2, nullptr,
                                             combiners::transparent32Avx2}};

const RowCombinerTable& vectorCombinerTable() {
  switch (vectorLevel()) {
    case VectorLevel::avx2:
      return avx2CombinerTable;
    case VectorLevel::sse2:
      return sse2CombinerTable;
    default:
      return plainCombinerTable;
  }
}

namespace {
bool screenHasVectors() { return gfxScreen && (gfxScreen->flags & screenMmx); }
}  // namespace

void transparentCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                     int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                     void* param) {
  DrawContext& context = currentContext();
  if (!context.combinerTable)
    context.combinerTable = screenHasVectors() ? &vectorCombinerTable() : &plainCombinerTable;
  int32_t bpp = context.bytesPerPixel;
  if (bpp < 1 || bpp > 4) return;  // no target of that depth exists
  RowCombiner combiner = context.combinerTable->slots[bpp - 1];
  if (combiner)
    combiner(source, destination, width, height, sourcePitch, destinationPitch, alpha, blender,
             param);
}

void alphaMaskCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                   int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                   void* param) {
  RowCombiner combiner = combiners::alphaMaskPlain;
  if (screenHasVectors()) {
    if (vectorLevel() == VectorLevel::avx2)
      combiner = combiners::alphaMaskAvx2;
    else if (vectorLevel() == VectorLevel::sse2)
      combiner = combiners::alphaMaskSse2;
  }
  combiner(source, destination, width, height, sourcePitch, destinationPitch, alpha, blender,
           param);
}

}  // namespace krgfx
