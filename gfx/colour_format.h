// Colours as programs give them and as targets store them: 0xRRGGBB packed
// to 5-6-5 and widened back, and the conversion for a target's depth.
#pragma once

#include <cstdint>

namespace krgfx {

// 0xRRGGBB to a 5-6-5 pixel: the top bits of each component.
constexpr uint32_t to565(uint32_t colour) {
  return ((colour >> 8) & 0xF800) | ((colour >> 5) & 0x07E0) | ((colour >> 3) & 0x001F);
}

// A 5-6-5 pixel to 0xFFRRGGBB, each component's top bits repeated into its
// low bits, so that to565 gives the pixel back.
constexpr uint32_t from565(uint32_t pixel) {
  uint32_t r = (pixel >> 11) & 31, g = (pixel >> 5) & 63, b = pixel & 31;
  r = (r << 3) | (r >> 2);
  g = (g << 2) | (g >> 4);
  b = (b << 3) | (b >> 2);
  return 0xFF000000u | r << 16 | g << 8 | b;
}

// A program's colour as a pixel of that many bytes: the low byte of a palette
// index, 0xRRGGBB packed to 5-6-5, 0xAARRGGBB as it is.
constexpr uint32_t pixelOfColour(int32_t bytesPerPixel, uint32_t colour) {
  if (bytesPerPixel == 1) return colour & 0xFF;
  if (bytesPerPixel == 2) return to565(colour);
  return colour;
}

// A pixel as a program's colour: the inverse of pixelOfColour.
constexpr uint32_t colourOfPixel(int32_t bytesPerPixel, uint32_t pixel) {
  return bytesPerPixel == 2 ? from565(pixel) : pixel;
}

// The bits that tell two pixels' colours apart: alpha does not count.
constexpr uint32_t comparedColourBits(int32_t bytesPerPixel, uint32_t pixel) {
  if (bytesPerPixel == 1) return pixel & 0xFF;
  if (bytesPerPixel == 2) return pixel & 0xFFFF;
  return pixel & 0x00FFFFFF;
}

}  // namespace krgfx
