// Public interface of images: off-screen buffers, drawing them with clipping
// and transparency, and loading them from BMP files and raw dumps.
#pragma once

#include <cstdint>
#include <string>

// Images are addressed by their header: an ImageHeader (type 7) as
// createImage makes them, or the older 4-byte short header.
using ImageBuffer = void;

constexpr int32_t colourNotGiven = INT32_MIN;  // createImage flag: fill transparent

ImageBuffer* createImage(int32_t width, int32_t height, int32_t colour, int32_t depth,
                         int32_t flags);
void destroyImage(ImageBuffer* image);

// Combines height rows of width pixels from source into destination.
using RowCombiner = void (*)(const uint8_t* source, uint8_t* destination, int32_t width,
                             int32_t height, int32_t sourcePitch, int32_t destinationPitch,
                             int32_t alpha, void* blender, void* param);

// Copies every pixel but the transparent colour of the target's depth.
void transparentCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                     int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                     void* param);
// Writes 8-bit source values into the alpha byte of 32-bit target pixels.
void alphaMaskCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                   int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                   void* param);

// Draws the source rectangle (x1, y1)-(x2, y2) of source at (x, y) of target
// (null: the screen). x1 = notGiven draws the whole image.
int32_t drawImage(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t x1,
                  int32_t y1, int32_t x2, int32_t y2, int32_t coordType, int32_t mode,
                  RowCombiner combiner, int32_t alpha, void* blender, void* param);

// Loads a BMP file or raw dump into destination (null: the screen's work
// page); with a palette, the file's colours go there as 6-bit components.
int32_t loadImageFile(const std::string& fileName, void* destination, uint32_t* palette);
