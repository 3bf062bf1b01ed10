// Public interface of drawing: pixels, lines and boxes, circles, ellipses and
// arcs, flood fill, the current colours, the palette, the pixels themselves,
// pages and the window's title.
//
// Every drawing operation draws on `target`: null for the screen's work page,
// or an image (either header form). It draws only inside the target's clip
// rectangle (the whole image for an image; the screen's view for the screen),
// takes the screen lock while it draws and marks the rows it changed on the
// shown page, so the window shows them at once. Points are floats in the
// target's coordinates, rounded to the nearest pixel (halves away from zero);
// `coordType` 2 takes the first point relative to the last point drawn, and
// every operation leaves its last point as the new one (see each operation).
//
// Colours are given as the target stores them: a palette index on 8-bit
// targets, 0xRRGGBB on 16-bit targets (packed to 5-6-5) and 0xAARRGGBB on
// 32-bit targets. With `colourNotGiven` (image.h) in `flags` the current
// foreground colour is used instead of `colour`. On a screen opened with
// flagAlphaBlend, a 32-bit colour whose alpha is below 0xFF blends with
// the pixels below it.
//
// Results: 0, or errBadCall (no screen, a coordType outside 0 to 3, a bad
// argument as noted); the result is also stored as the last error. Drawing
// that is clipped away entirely succeeds.
#pragma once

#include <cstdint>
#include <string>

#include <krgfx/image.h>

namespace krgfx {

// --- Pixels, lines, boxes ---------------------------------------------------

// Sets the pixel at (x, y). coordType 0: absolute, 2: relative to the last
// point; (x, y) becomes the last point.
int32_t drawPixel(ImageBuffer* target, float x, float y, uint32_t colour, int32_t coordType = 0,
                  int32_t flags = 0);
// The colour at (x, y), in the form drawPixel takes (16-bit pixels widened to
// 0xFFRRGGBB), or -1 without a screen or outside the clip rectangle.
// coordType as drawPixel; (x, y) becomes the last point.
int64_t readPixel(ImageBuffer* target, float x, float y, int32_t coordType = 0);

// drawLine shapes.
constexpr int32_t shapeLine = 0;       // from (x1, y1) to (x2, y2)
constexpr int32_t shapeBox = 1;        // the outline of the box with these corners
constexpr int32_t shapeFilledBox = 2;  // the box filled
// The dash pattern of a solid line.
constexpr uint32_t lineSolid = 0xFFFF;

// Draws a line, box or filled box between (x1, y1) and (x2, y2), both ends
// included. `style` is a 16-bit dash pattern for lines and box outlines: bit
// 15 decides the first pixel, bit 14 the next, and so on, repeating (0 draws
// nothing); a filled box ignores it. A box outline runs along its top, bottom,
// left and right edges in that order, each corner drawn once. coordType 0:
// both points absolute; 1: (x2, y2) relative to (x1, y1); 2: (x1, y1)
// relative to the last point; 3: both. (x2, y2) becomes the last point, so
// drawLine(nullptr, 0, 0, x, y, colour, shapeLine, lineSolid, 2) continues a
// line to (x, y). Ends further than 2^29 pixels away are cut to that range.
int32_t drawLine(ImageBuffer* target, float x1, float y1, float x2, float y2, uint32_t colour,
                 int32_t shape = shapeLine, uint32_t style = lineSolid, int32_t coordType = 0,
                 int32_t flags = 0);

// --- Circles, ellipses, arcs --------------------------------------------------

// Draws a circle of `radius` pixels around (x, y). `aspect` (above 0) is the
// vertical radius over the horizontal one: below 1 the radius is the
// horizontal one, above 1 the vertical one. `start` and `end` (radians, 0
// pointing right, counting anticlockwise on the screen, within -2 pi to 2 pi)
// draw only the arc from start to end; both 0 draw the whole outline. A
// negative angle also draws the radius to its arc end (so -0.5, -1 is a pie
// slice; -2 pi stands for a radius at angle 0). `fill` non-zero fills the
// whole ellipse (the angles are then not looked at). coordType 0: (x, y)
// absolute, 2: relative to the last point; the centre becomes the last point.
// errBadCall also for a negative radius or one above 2^24, an aspect of 0 or
// less, and angles outside -2 pi to 2 pi.
int32_t drawCircle(ImageBuffer* target, float x, float y, float radius, uint32_t colour,
                   float start = 0, float end = 0, float aspect = 1, int32_t fill = 0,
                   int32_t coordType = 0, int32_t flags = 0);

// --- Flood fill ---------------------------------------------------------------

// floodFill flags, beside colourNotGiven.
constexpr int32_t fillOverColour = 0x1;  // fill the area of the seed's colour; border unused
constexpr int32_t borderNotGiven = 0x2;  // the border is the fill colour

// Fills the area around (x, y): every pixel reachable from it through its
// four neighbours without crossing a pixel of the `border` colour (or, with
// fillOverColour, every reachable pixel of the seed pixel's colour), within
// the clip rectangle. On 32-bit targets colours match by red, green and blue;
// alpha is not compared. Works row by row with a bounded list of pending
// rows, never by recursion, so any shape on any image is filled with memory
// of one bit per pixel of the clip rectangle and a fixed amount besides.
// A seed outside the clip rectangle or on the border fills nothing. coordType
// as drawPixel; (x, y) becomes the last point. errNoMemory when the bit map
// cannot be had.
int32_t floodFill(ImageBuffer* target, float x, float y, uint32_t colour, uint32_t border,
                  int32_t coordType = 0, int32_t flags = 0);

// --- Current colours ------------------------------------------------------------

// setColours flags.
constexpr int32_t keepForeColour = 0x1;
constexpr int32_t keepBackColour = 0x2;

// Sets the colours that text is printed in and that clearScreen clears to,
// and the colour drawing takes with colourNotGiven: the foreground (unless
// keepForeColour) and the background (unless keepBackColour), in the
// screen's form (see above). Returns the previous foreground (8-bit and
// smaller screens: foreground | background << 16), or 0 without a screen
// (errBadCall).
int32_t setColours(uint32_t foreground, uint32_t background, int32_t flags = 0);
// The current colours in the form setColours takes; 0 without a screen.
uint32_t foreColour();
uint32_t backColour();

// Text background modes.
constexpr int32_t textOpaque = 0;      // a glyph's cell is painted in the background colour
constexpr int32_t textSeeThrough = 1;  // only the glyph's own pixels are drawn
// Chooses how printed text treats its background; returns the previous mode,
// or -1 without a screen (errBadCall). The mode lasts until the screen mode
// changes.
int32_t setTextBackground(int32_t mode);

// --- Palette ---------------------------------------------------------------------

// Changes palette entry `index` (0 to 255) of a screen of 8 bits or fewer
// to red, green and blue (0 to 255 each); the window shows it at once, on
// every pixel of that colour. errBadCall without such a screen or for a value
// out of range.
int32_t setPaletteColour(int32_t index, int32_t red, int32_t green, int32_t blue);
// Changes `count` entries from `first` on to colours[0 .. count - 1], each
// 0xRRGGBB, in one step: the screen is shown again once, however many change.
// errBadCall as setPaletteColour, or for a range outside 0 to 255.
int32_t setPalette(const uint32_t* colours, int32_t first, int32_t count);
// Palette entry `index` as 0xRRGGBB, or -1 (errBadCall) without a screen of
// 8 bits or fewer or for an index outside 0 to 255.
int32_t paletteColour(int32_t index);

// --- Pixels ------------------------------------------------------------------------

// The first pixel row of `image`, or of the screen's work page for null, with
// its width, height, pitch (bytes from one row to the next) and bytes per
// pixel (any output pointer may be null). Rows follow each other top first;
// a pixel is a palette index, a 5-6-5 colour or 0xAARRGGBB as the depth says.
// The screen's pixels may be read or written only while the screen is locked
// (lockScreen), and the rows written are shown once unlockScreen(first, last)
// marks them. Null (errBadCall) without a screen when image is null.
uint8_t* imagePixels(ImageBuffer* image, int32_t* width, int32_t* height, int32_t* pitch,
                     int32_t* bytesPerPixel);

// --- Pages and the window --------------------------------------------------------

// Chooses the page that drawing and printing go to (work) and the page shown
// (visible); a negative or unknown page keeps its choice, both negative choose
// page 0 for both. Returns the previous visible page << 8 | previous work
// page, or -1 without a screen (errBadCall).
int32_t setPages(int32_t work, int32_t visible);
// Copies the pixels of the clip rectangle and the text of page `source` (-1:
// the work page) onto page `destination` (-1: the visible page), which shows
// at once when it is the visible page. errBadCall without a screen or for a
// page the mode lacks.
int32_t copyPage(int32_t source, int32_t destination);
// Sets the window's title (at most 127 bytes are kept), now and for windows
// opened later.
int32_t setWindowTitle(const std::string& text);

}  // namespace krgfx
