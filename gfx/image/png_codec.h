// PNG files: reading them into images and writing pictures as PNG. Built on
// stb_image and stb_image_write; a build without them (KRGFX_PNG=OFF)
// answers every call with errIoFailed.
#pragma once

#include <cstdint>
#include <cstdio>

namespace krgfx {

constexpr uint8_t pngFirstByte = 0x89;

// Loads a PNG from the stream's start into destination (null: the screen's
// work page; an image, or a plain memory block that receives an
// ImageHeader), 16- or 32-bit, cut to its size: colours widened or narrowed
// to the target's channels, alpha 0xFF where the file has none. 0;
// errBadCall without a screen or for an 8-bit or unusable destination,
// errIoFailed for a damaged or unreadable file, errNoMemory for a picture
// too large to decode. Needs an open screen.
int32_t loadPng(std::FILE* file, void* destination);

// The size of the picture and 8 x its channels. 0 or errIoFailed.
int32_t readPngInfo(std::FILE* file, int32_t* width, int32_t* height, int32_t* depth);

// Writes width x height pixels of `channels` bytes each (3: red, green, blue;
// 4: and alpha), rows `stride` bytes apart, as a PNG. 0 or errIoFailed.
int32_t writePng(std::FILE* file, int32_t width, int32_t height, int32_t channels,
                 const uint8_t* pixels, int32_t stride);

}  // namespace krgfx
