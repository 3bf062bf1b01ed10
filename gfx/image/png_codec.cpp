// PNG through stb_image (decoding to 8-bit red, green, blue, alpha) and
// stb_image_write; the decoded rows reach the target through the same row
// converters as 32-bit BMP pixels.
#include "gfx/image/png_codec.h"

#include <memory>
#include <vector>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include "gfx/draw_context.h"
#include "gfx/image/load_target.h"
#include "gfx/image/png_stream.h"
#include "gfx/image/row_converters.h"
#include "gfx/screen.h"
#include "stb_image.h"
#include "stb_image_write.h"

namespace krgfx {

namespace {

// A decoded picture takes 4 bytes a pixel; larger ones are refused before
// decoding (256 MiB).
constexpr int64_t pixelLimit = int64_t{1} << 26;

struct StbFree {
  void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

void convertDecodedRows(const stbi_uc* pixels, int32_t pictureWidth, const LoadTarget& target,
                        const DrawContext& context) {
  // Each decoded pixel read as a little-endian word is 0xAABBGGRR.
  const uint32_t masks[channelCount] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  ChannelMask channels[channelCount];
  for (int32_t i = 0; i < channelCount; ++i) channels[i] = channelMaskOf(masks[i]);
  RowConverter convert = chooseRowConverter(32, target.bytesPerPixel);
  for (int32_t y = 0; y < target.height; ++y)
    convert(pixels + static_cast<size_t>(y) * pictureWidth * 4, context.rowTable[y], target.width,
            channels);
}

void writeToStream(void* context, void* data, int size) {
  auto* file = static_cast<std::FILE*>(context);
  std::fwrite(data, 1, static_cast<size_t>(size), file);
}

}  // namespace

int32_t readPngInfo(std::FILE* file, int32_t* width, int32_t* height, int32_t* depth) {
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_file(file, &w, &h, &channels)) return errIoFailed;
  *width = w, *height = h, *depth = channels * 8;
  return 0;
}

int32_t loadPng(std::FILE* file, void* destination) {
  if (!gfxScreen) return errBadCall;
  int32_t width, height, depth;
  if (readPngInfo(file, &width, &height, &depth)) return errIoFailed;
  if (width < 1 || height < 1) return errIoFailed;
  if (int64_t{width} * height > pixelLimit) return errNoMemory;
  LoadTarget target;
  if (int32_t result = chooseLoadTarget(destination, width, height, target)) return result;
  if (target.bytesPerPixel == 1) return errBadCall;  // no palette indices to give

  std::vector<uint8_t> bytes;
  if (int32_t result = readPngStream(file, bytes)) return result;
  int w, h, channels;
  std::unique_ptr<stbi_uc, StbFree> pixels(
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4));
  if (!pixels || w != width || h != height) return errIoFailed;
  DrawContext& context = currentContext();
  beginLoad(context, destination, target);
  lockScreen();
  convertDecodedRows(pixels.get(), width, target, context);
  markLoadedRows(context);
  unlockScreen(1, 0);
  return 0;
}

int32_t writePng(std::FILE* file, int32_t width, int32_t height, int32_t channels,
                 const uint8_t* pixels, int32_t stride) {
  if (!stbi_write_png_to_func(writeToStream, file, width, height, channels, pixels, stride))
    return errIoFailed;
  return std::ferror(file) ? errIoFailed : 0;
}

}  // namespace krgfx
