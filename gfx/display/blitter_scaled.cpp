// The ScaledBlitterTable: each entry converts the dirty rows with the
// BlitterTable's entry of the same place, a band of rows at a time, and
// widens every converted row into its block of display rows. The plain half widens one pixel at a
// time and copies the widened row down the block.
#include <algorithm>
#include <vector>

#include "gfx/cpu_features.h"
#include "gfx/display/blitter_rows.h"
#include "gfx/screen.h"

namespace krgfx {

namespace blitters {

namespace {

// The screen seen as its rows first to first + count - 1 while a Blitter
// converts a band of them; the whole screen again afterwards.
class ScreenBand {
 public:
  ScreenBand(GfxScreen& screen, int32_t first, int32_t count)
      : screen_(screen),
        pixels_(screen.visibleFramebuffer),
        marks_(screen.dirtyLines),
        height_(screen.height) {
    screen.visibleFramebuffer += static_cast<ptrdiff_t>(first) * screen.pitch;
    screen.dirtyLines += first;
    screen.height = count;
  }
  ~ScreenBand() {
    screen_.visibleFramebuffer = pixels_;
    screen_.dirtyLines = marks_;
    screen_.height = height_;
  }
  ScreenBand(const ScreenBand&) = delete;
  ScreenBand& operator=(const ScreenBand&) = delete;

 private:
  GfxScreen& screen_;
  uint8_t* pixels_;
  uint8_t* marks_;
  int32_t height_;
};

// Converted rows per band: the band's buffer stays in the processor's cache.
constexpr ptrdiff_t bandBytes = 64 * 1024;

}  // namespace

void blitScaled(Blitter convert, RowWidener widen, int32_t displayPixelBytes, uint8_t* destination,
                int32_t destinationPitch, int32_t scale) {
  GfxScreen* screen = gfxScreen;
  if (!screen || !destination || !convert) return;
  scale = std::clamp(scale, 1, maxDisplayScale);
  if (scale == 1) return convert(destination, destinationPitch);
  // A band of rows at a time is converted into a buffer of the presenter
  // thread that stays in the processor's cache, and widened from there
  // straight into its blocks: the display's memory is only written.
  const int32_t repeat = screen->scanlineSize > 0 ? screen->scanlineSize : 1;
  const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(screen->width) * displayPixelBytes;
  const int32_t bandRows = static_cast<int32_t>(
      std::max<ptrdiff_t>(1, bandBytes / std::max<ptrdiff_t>(1, rowBytes * repeat)));
  thread_local std::vector<uint8_t> converted;
  converted.resize(static_cast<size_t>(rowBytes) * repeat * bandRows);
  const ptrdiff_t pitch = destinationPitch;
  const int32_t height = screen->height;
  // Rows the display takes as they are need no conversion: they are widened
  // straight from the framebuffer.
  if (convert == copyBlitter && rowBytes == screen->pitch) {
    for (int32_t row = 0; row < height; ++row) {
      if (!screen->dirtyLines[row]) continue;
      for (int32_t copy = 0; copy < repeat; ++copy)
        widen(destination + (static_cast<ptrdiff_t>(row) * repeat + copy) * scale * pitch, pitch,
              screen->visibleFramebuffer + static_cast<ptrdiff_t>(row) * screen->pitch,
              screen->width, scale);
    }
    return;
  }
  for (int32_t first = 0; first < height; first += bandRows) {
    const int32_t count = std::min(bandRows, height - first);
    const uint8_t* marks = screen->dirtyLines + first;
    if (std::find_if(marks, marks + count, [](uint8_t mark) { return mark != 0; }) == marks + count)
      continue;
    {
      ScreenBand band(*screen, first, count);
      convert(converted.data(), static_cast<int32_t>(rowBytes));
    }
    for (int32_t row = 0; row < count; ++row) {
      if (!marks[row]) continue;
      for (int32_t copy = 0; copy < repeat; ++copy) {
        const ptrdiff_t displayRow = static_cast<ptrdiff_t>(first + row) * repeat + copy;
        widen(destination + displayRow * scale * pitch, pitch,
              converted.data() + (static_cast<ptrdiff_t>(row) * repeat + copy) * rowBytes,
              screen->width, scale);
      }
    }
  }
}

const ScaledHalf plainScaledBlitters = scaledHalf<0, PlainWidener>(std::make_index_sequence<24>());

}  // namespace blitters

namespace {

ScaledBlitterTable joinScaledHalves(const blitters::ScaledHalf& plain,
                                    const blitters::ScaledHalf& vector) {
  ScaledBlitterTable table{};
  for (size_t i = 0; i < 24; ++i) table[i] = plain[i], table[24 + i] = vector[i];
  return table;
}

// An 8-bit display: the rows are copied and widened a byte at a time.
void scaledCopyBlitter(uint8_t* destination, int32_t destinationPitch, int32_t scale) {
  blitters::blitScaled(copyBlitter, blitters::PlainWidener<1>::row, 1, destination,
                       destinationPitch, scale);
}

}  // namespace

const ScaledBlitterTable& scaledBlitterTable() {
  using namespace blitters;
  static const ScaledBlitterTable sse2 = joinScaledHalves(plainScaledBlitters, sse2ScaledBlitters);
  static const ScaledBlitterTable avx2 = joinScaledHalves(plainScaledBlitters, avx2ScaledBlitters);
  return vectorLevel() == VectorLevel::avx2 ? avx2 : sse2;
}

ScaledBlitter chooseScaledBlitter(int32_t displayDepth, int32_t rgbOrder) {
  int32_t index = blitters::chooseBlitterIndex(displayDepth, rgbOrder);
  if (index == -2) return scaledCopyBlitter;
  return index < 0 ? nullptr : scaledBlitterTable()[index];
}

}  // namespace krgfx
