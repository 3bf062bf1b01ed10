// Public interface of images: off-screen buffers, drawing them with clipping,
// transparency, blending and scaling, capturing them from the screen, and
// loading and saving them as BMP and PNG files (and loading raw dumps).
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

// Images are addressed by their header: an ImageHeader (type 7) as
// createImage makes them, or the older 4-byte short header.
using ImageBuffer = void;

constexpr int32_t colourNotGiven = INT32_MIN;  // createImage flag: fill transparent

// A new image of width x height pixels (both at least 1) at depth bits per
// pixel (1-8: 8-bit palette indices, 9-16: 5-6-5 colour, 25-32: 0xAARRGGBB;
// 0 or less: the screen's depth), filled with colour (0xRRGGBB packed to
// 5-6-5 at 16 bits, the low byte at 8 bits), or with the transparent colour
// of its depth when flags has colourNotGiven. Rows are 16-byte aligned. Null
// with errBadCall without a screen or for a bad size or depth, errNoMemory
// when the memory cannot be had. The caller frees it with destroyImage.
ImageBuffer* createImage(int32_t width, int32_t height, int32_t colour, int32_t depth,
                         int32_t flags);
// Frees an image made by createImage (or loadImage, captureImage); null does
// nothing.
void destroyImage(ImageBuffer* image);

// Combines height rows of width pixels from source into destination; the
// pitches are the bytes from one row start to the next, alpha, blender and
// param come unchanged from the caller of drawImage.
using RowCombiner = void (*)(const uint8_t* source, uint8_t* destination, int32_t width,
                             int32_t height, int32_t sourcePitch, int32_t destinationPitch,
                             int32_t alpha, void* blender, void* param);

// Copies every pixel but the transparent colour of the target's depth.
void transparentCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                     int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                     void* param);
// Copies every pixel as it is.
void plainCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
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

// How putImage and drawImageScaled combine the source with the target:
// putPlain copies every pixel; putTransparent skips the transparent colour
// of the depth (as transparentCopy); putAlpha blends 32-bit pixels over the
// target by their alpha byte (the target takes the source's alpha), writes
// the bytes of an 8-bit source into the alpha bytes of a 32-bit target (as
// drawImage's mode 6), and copies 8- and 16-bit pixels as putPlain does.
constexpr int32_t putPlain = 0;
constexpr int32_t putTransparent = 1;
constexpr int32_t putAlpha = 2;

// Draws the whole of source with its top-left pixel at (x, y) of target
// (null: the screen's work page), in the context's coordinates, clipped like
// drawImage; (x, y) becomes the last drawn point. mode is one of the put
// modes above. 0, also when everything is clipped away; errBadCall without a
// screen, for a null source, an unknown mode or depths that do not match.
int32_t putImage(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t mode);

// Draws the whole of source stretched or shrunk to width x height pixels with
// its top-left corner at (x, y) of target (null: the screen's work page),
// each target pixel taking its nearest source pixel (no smoothing), clipped
// to the target's clip rectangle. mode is a put mode as for putImage. 0,
// also when everything is clipped away; errBadCall without a screen, for a
// null source, a width or height below 1, an unknown mode or depths that do
// not match; errNoMemory when the row buffer cannot be had.
int32_t drawImageScaled(ImageBuffer* target, float x, float y, int32_t width, int32_t height,
                        const ImageBuffer* source, int32_t mode);

// A new image, of the source's depth, holding the pixels of the rectangle
// (x1, y1)-(x2, y2) (corners included, in either order) of source (null: the
// screen's work page). Corners are in the context's coordinates, as putImage
// takes them, so putImage at (x1, y1) puts the pixels back; the rectangle is
// cut to the clip rectangle of the source. Null with errBadCall without a
// screen or when nothing of the rectangle lies inside; errNoMemory when the
// image cannot be made. The caller frees it with destroyImage.
ImageBuffer* captureImage(const ImageBuffer* source, int32_t x1, int32_t y1, int32_t x2,
                          int32_t y2);

// The size of the picture in an image file and its bits per pixel (BMP: the
// file's bit count; PNG: 8 per channel, so 8 grey, 16 grey with alpha, 24
// colour, 32 colour with alpha; a raw dump: the size and bytes per pixel
// times 8 of the image header it begins with, depth 0 for a short header
// that takes the screen's depth). Needs no screen, so a program can size its
// screen to a picture. Any of width, height and depth may be null. 0;
// errNoFile when the file cannot be opened, errIoFailed when it is no
// picture this loader reads or ends within its header.
int32_t imageFileInfo(const std::string& fileName, int32_t* width, int32_t* height, int32_t* depth);

// A new image of the picture's size at depth bits per pixel (8, 16 or 32; 0
// or less: the screen's depth), filled from the file as loadImageFile does;
// the pixels the file leaves out keep the transparent colour. Null on
// failure, with the error number of the step that failed (imageFileInfo,
// createImage or loadImageFile). The caller frees it with destroyImage.
ImageBuffer* loadImage(const std::string& fileName, int32_t depth);

// Writes source (null: the screen's work page, all of it) to a file: PNG
// when the name ends in ".png" (any case), a BMP otherwise. A BMP keeps the
// depth: 8-bit pixels as palette indices packed into 1, 4 or 8 bits (the
// fewest that hold every index), 16-bit as 5-6-5 bit fields, 32-bit as 32-bit
// pixels with the alpha byte. A PNG holds colours: 8-bit pixels through the
// palette, 16-bit widened to 8 bits a channel, 32-bit with their alpha when
// any alpha byte is not 0 (an image whose alpha bytes are all 0, as drawing
// leaves them, is saved opaque). The colours of 8-bit pixels come from
// palette, 256 entries 0x00BBGGRR of 6-bit components as loadImageFile
// delivers them, or from the screen's palette when it is null. 0; errBadCall
// without a screen or for an image of a depth that has no pixel routines,
// errNoFile when the file cannot be created, errIoFailed when writing fails
// or PNG support was left out of the build, errNoMemory.
int32_t saveImageFile(const std::string& fileName, const ImageBuffer* source,
                      const uint32_t* palette);

// Loads a picture file into destination (null: the screen's work page; an
// image; or a plain memory block, which receives an ImageHeader of the
// screen's depth and the picture's size), converting its pixels to the
// destination's depth; a larger picture is cut at the destination's edges.
// BMP files of 1 to 32 bits (plain, bit fields, or run-length RLE8/RLE4,
// where pixels the data skips keep what the destination held), PNG files
// (into 16- or 32-bit destinations only) and raw dumps (copied byte for
// byte). With a palette (256 entries), the colours of a palette BMP go there
// as 6-bit components instead of to the screen. 0; errBadCall without a
// screen or for a destination the file's pixels cannot go to,
// errNoFile when the file cannot be opened, errIoFailed for a short read or
// a format the loader does not decode (the rows read so far stay),
// errNoMemory for a PNG too large to decode.
int32_t loadImageFile(const std::string& fileName, void* destination, uint32_t* palette);

}  // namespace krgfx
