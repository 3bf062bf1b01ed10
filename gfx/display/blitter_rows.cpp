// The dirty-row loop that every blitter runs, and the row copy.
#include "gfx/display/blitter_rows.h"

#include <cstddef>

#include "gfx/cpu_features.h"
#include "gfx/depth_routines.h"
#include "gfx/screen.h"

namespace krgfx {

namespace blitters {

void blitDirtyRows(uint8_t* destination, int32_t destinationPitch, int32_t sourceBytes,
                   RowConverter convert, const uint32_t* table) {
  const GfxScreen* screen = gfxScreen;
  // A routine made for another pixel size would read past the framebuffer rows.
  if (!screen || !destination || screen->bytesPerPixel != sourceBytes) return;
  if (!table) table = sourceBytes == 1 ? screen->devicePalette : blitterWorkTable;
  if (!table) return;
  const int32_t repeat = screen->scanlineSize > 0 ? screen->scanlineSize : 1;
  const ptrdiff_t pitch = destinationPitch;
  for (int32_t row = 0; row < screen->height; ++row) {
    if (!screen->dirtyLines[row]) continue;
    const uint8_t* in = screen->visibleFramebuffer + static_cast<ptrdiff_t>(row) * screen->pitch;
    for (int32_t copy = 0; copy < repeat; ++copy) {
      ptrdiff_t displayRow = static_cast<ptrdiff_t>(row) * repeat + copy;
      convert(destination + displayRow * pitch, in, screen->width, table);
    }
  }
}

namespace {
using Copy = void (*)(void* out, const void* in, size_t bytes);

// A block copy of the processor's vector level. Not the process-wide
// blockCopy: the main thread re-chooses that one whenever it binds a target,
// and this runs on the presenter thread.
template <Copy avx2, Copy sse2, Copy plain>
void atVectorLevel(void* out, const void* in, size_t bytes) {
  switch (vectorLevel()) {
    case VectorLevel::avx2:
      return avx2(out, in, bytes);
    case VectorLevel::sse2:
      return sse2(out, in, bytes);
    case VectorLevel::plain:
      return plain(out, in, bytes);
  }
}

template <int32_t PixelBytes, Copy copy>
void copyRow(uint8_t* out, const uint8_t* in, int32_t width, const uint32_t*) {
  copy(out, in, static_cast<size_t>(width) * PixelBytes);
}

template <Copy copy>
void copyDirtyRows(uint8_t* destination, int32_t destinationPitch) {
  const GfxScreen* screen = gfxScreen;
  if (!screen) return;
  if (screen->bytesPerPixel == 1)
    return blitter<1, copyRow<1, copy>>(destination, destinationPitch);
  if (screen->bytesPerPixel == 2)
    return blitter<2, copyRow<2, copy>>(destination, destinationPitch);
  blitter<4, copyRow<4, copy>>(destination, destinationPitch);
}
}  // namespace

void copyBytes(void* out, const void* in, size_t bytes) {
  atVectorLevel<spans::copyAvx2, spans::copySse2, spans::copyPlain>(out, in, bytes);
}

}  // namespace blitters

void copyBlitter(uint8_t* destination, int32_t destinationPitch) {
  using namespace blitters;
  copyDirtyRows<atVectorLevel<spans::copyAvx2, spans::copySse2, spans::copyPlain>>(
      destination, destinationPitch);
}

void copyChangedBlitter(uint8_t* destination, int32_t destinationPitch) {
  using namespace blitters;
  copyDirtyRows<
      atVectorLevel<spans::copyChangedAvx2, spans::copyChangedSse2, spans::copyChangedPlain>>(
      destination, destinationPitch);
}

}  // namespace krgfx
