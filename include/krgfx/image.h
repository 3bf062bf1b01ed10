// Public interface of images: off-screen buffers, drawing them with clipping
// and transparency, and loading them from BMP files and raw dumps.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

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
// (null: the screen's work page). x1 = notGiven draws the whole image.
// coordType 0 takes (x, y) as given, 2 relative to the last drawn point; 1
// and 3 likewise with (x2, y2) a width and height. The rectangle is clipped
// to the image and to the target's clip rectangle, and combiner writes each
// row (transparentCopy skips the transparent colour; alpha, blender and
// param go to it unchanged). Source and target must have the same depth,
// except an 8-bit source on a 32-bit target with mode 6, which writes alpha
// bytes through alphaMaskCopy. Rows drawn on the screen are marked dirty.
// 0, also when everything is clipped away; errBadCall without a screen, for
// a null source, a coordType outside 0 to 3 or depths that do not match.
int32_t drawImage(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t x1,
                  int32_t y1, int32_t x2, int32_t y2, int32_t coordType, int32_t mode,
                  RowCombiner combiner, int32_t alpha, void* blender, void* param);

// Loads a BMP file (1 to 32 bits, plain or bit fields) or a raw dump into
// destination (null: the screen's work page), converting its pixels to the
// destination's depth; a larger picture is cut at the destination's edges.
// With a palette, the file's colours go there as 6-bit components. 0;
// errBadCall without a screen, errNoFile when the file cannot be opened,
// errIoFailed for a short read or a format the loader does not decode.
int32_t loadImageFile(const std::string& fileName, void* destination, uint32_t* palette);

}  // namespace krgfx
