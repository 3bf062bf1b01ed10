// The row converters: palette indices through the screen's devicePalette,
// and bit-field pixels split by their channel masks and scaled.
#include "gfx/image/row_converters.h"

#include <cstring>

#include "gfx/screen.h"

namespace krgfx {

ChannelMask channelMaskOf(uint32_t mask) {
  if (mask == 0) return {0, 0, 0};
  uint32_t shift = static_cast<uint32_t>(__builtin_ctz(mask));
  uint32_t highest = 31u - static_cast<uint32_t>(__builtin_clz(mask));
  return {shift, highest - shift + 1, mask >> shift};
}

uint32_t scaleChannel(uint32_t value, uint32_t bits, uint32_t wanted) {
  if (bits > wanted) return value >> (bits - wanted);
  uint32_t widened = value << (wanted - bits);
  return 2 * bits >= wanted ? widened | value >> (2 * bits - wanted) : widened;
}

namespace {

template <typename Pixel>
void storePixel(uint8_t* destination, int32_t index, Pixel value) {
  std::memcpy(destination + index * static_cast<int32_t>(sizeof(Pixel)), &value, sizeof(Pixel));
}

void paletteTo8(const uint8_t* source, uint8_t* destination, int32_t count, const ChannelMask*) {
  uint8_t mask = static_cast<uint8_t>(gfxScreen->colorMask);
  for (int32_t x = 0; x < count; ++x) destination[x] = source[x] & mask;
}

void paletteTo16(const uint8_t* source, uint8_t* destination, int32_t count, const ChannelMask*) {
  for (int32_t x = 0; x < count; ++x) {
    uint32_t colour = gfxScreen->devicePalette[source[x]];  // 0x00BBGGRR
    uint32_t red = (colour >> 3) & 0x1F, green = (colour >> 10) & 0x3F,
             blue = (colour >> 19) & 0x1F;
    storePixel(destination, x, static_cast<uint16_t>(red << 11 | green << 5 | blue));
  }
}

void paletteTo32(const uint8_t* source, uint8_t* destination, int32_t count, const ChannelMask*) {
  for (int32_t x = 0; x < count; ++x) {
    uint32_t colour = gfxScreen->devicePalette[source[x]];
    uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    storePixel(destination, x, 0xFF000000u | red << 16 | green << 8 | blue);
  }
}

// A pixel of the file: a 16-bit word, three bytes, or a 32-bit word.
template <int32_t Bytes>
uint32_t filePixel(const uint8_t* at) {
  uint32_t value = 0;
  for (int32_t i = 0; i < Bytes; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return value;
}

uint32_t scaled(uint32_t pixel, const ChannelMask& mask, uint32_t wanted) {
  return scaleChannel((pixel >> mask.shift) & mask.shifted, mask.bits, wanted);
}

template <int32_t Bytes>
void fieldsTo16(const uint8_t* source, uint8_t* destination, int32_t count,
                const ChannelMask* masks) {
  for (int32_t x = 0; x < count; ++x) {
    uint32_t pixel = filePixel<Bytes>(source + x * Bytes);
    uint32_t red = scaled(pixel, masks[channelRed], 5);
    uint32_t green = scaled(pixel, masks[channelGreen], 6);
    uint32_t blue = scaled(pixel, masks[channelBlue], 5);
    storePixel(destination, x, static_cast<uint16_t>(red << 11 | green << 5 | blue));
  }
}

// 16-bit and 24-bit pixels are opaque; 32-bit pixels bring their own alpha
// (0 when the file has no alpha mask).
template <int32_t Bytes>
void fieldsTo32(const uint8_t* source, uint8_t* destination, int32_t count,
                const ChannelMask* masks) {
  for (int32_t x = 0; x < count; ++x) {
    uint32_t pixel = filePixel<Bytes>(source + x * Bytes);
    uint32_t alpha = Bytes == 4 ? scaled(pixel, masks[channelAlpha], 8) : 0xFF;
    uint32_t red = scaled(pixel, masks[channelRed], 8);
    uint32_t green = scaled(pixel, masks[channelGreen], 8);
    uint32_t blue = scaled(pixel, masks[channelBlue], 8);
    storePixel(destination, x, alpha << 24 | red << 16 | green << 8 | blue);
  }
}

}  // namespace

RowConverter chooseRowConverter(int32_t bitCount, int32_t destinationBpp) {
  if (bitCount <= 8) {
    if (destinationBpp == 1) return paletteTo8;
    return destinationBpp == 2 ? paletteTo16 : paletteTo32;
  }
  if (destinationBpp == 1) return nullptr;
  bool to16 = destinationBpp == 2;
  if (bitCount <= 16) return to16 ? fieldsTo16<2> : fieldsTo32<2>;
  if (bitCount <= 24) return to16 ? fieldsTo16<3> : fieldsTo32<3>;
  return to16 ? fieldsTo16<4> : fieldsTo32<4>;
}

}  // namespace krgfx
