// The one graphics screen of the process and the state kept beside it.
#pragma once

#include <cstdint>
#include <semaphore>

namespace krgfx {

struct DisplayDriver;

// Bits of GfxScreen::flags.
constexpr uint32_t screenPendingWrap = 0x4;
constexpr uint32_t screenAlphaBlend = 0x8;
constexpr uint32_t screenHighPriority = 0x20;
constexpr uint32_t screenMmx = 0x1000000;  // vector routines in use
constexpr uint32_t screenOpenGl = 0x20000000;

// A window or input event: a type and four words.
struct ScreenEvent {
  int32_t type;
  int32_t word1;
  int32_t word2;
  int32_t word3;
  int32_t word4;
};
static_assert(sizeof(ScreenEvent) == 20);

constexpr int32_t eventRingSize = 128;

// One character position of the text grid, as last drawn.
struct TextCell {
  uint32_t character;
  uint32_t foreColor;
  uint32_t backColor;
};

struct FontDesc {
  int32_t width;
  int32_t height;
  const uint8_t* glyphs;  // 256 glyphs of `height` row bytes, leftmost pixel in bit 0
};

struct PaletteDesc {
  int32_t colours;
  const uint8_t* rgb;  // red, green, blue per colour, 8-bit components
};

struct GfxScreen {
  int32_t serial;
  int32_t modeNumber;
  uint8_t** pages;
  int32_t pageCount;
  int32_t visiblePage;
  uint8_t* visibleFramebuffer;
  int32_t width;
  int32_t height;
  int32_t depth;
  int32_t bytesPerPixel;
  int32_t pitch;
  uint32_t palette[256];        // 0x00BBGGRR
  uint32_t devicePalette[256];  // 0x00BBGGRR, as displayed
  uint8_t colorMap[16];
  uint8_t* dirtyLines;  // height x scanlineSize bytes; the first height mark framebuffer rows
  const DisplayDriver* driver;
  uint32_t colorMask;
  const PaletteDesc* defaultPalette;
  int32_t scanlineSize;
  int32_t cursorX;
  int32_t cursorY;
  const FontDesc* font;
  int32_t textCols;
  int32_t textRows;
  float aspect;
  uint8_t keyState[128];
  int32_t refreshRate;
  TextCell** textCells;  // per page, textCols x textRows cells
  ScreenEvent events[eventRingSize];
  int32_t eventHead;
  int32_t eventTail;
  std::binary_semaphore eventLock{1};
  uint32_t flags;
  int32_t lockCount;
  // Per framebuffer row of the visible page, what the library knows of it
  // (rowUnshown, rowNotBlank), so that rows an unlock marks without their
  // pixels having changed are not shown again, and clears skip rows that
  // already hold their colour. Rows written through imagePixels are known
  // only by the rows the program marks (pixelsHandedOut).
  uint8_t* rowWrites;
  uint32_t blankColour;  // what rows without rowNotBlank hold
  bool pixelsHandedOut;
};

// rowWrites bits.
constexpr uint8_t rowUnshown = 1;   // written since the presenter last showed the row
constexpr uint8_t rowNotBlank = 2;  // may hold pixels other than blankColour

// Null while no mode is set.
extern GfxScreen* gfxScreen;

// Process-wide state kept outside the screen.
extern int32_t modeSerial;
extern char windowTitle[128];
extern uint32_t* blitterWorkTable;  // 512 entries, allocated with each mode
extern bool endHookRegistered;
// The display scale the program asked for with setDisplayScale, 0 for auto;
// kept across modes and taken by the next one.
extern int32_t displayScaleRequest;

// Marks rows first to last (inclusive, already within the screen) as changed.
void markDirtyRows(int32_t first, int32_t last);
void markAllRowsDirty();
// Marks rows the program says it changed: as markDirtyRows once its pixels
// were handed out, else marked only, as every library write marks the rows
// it changes itself.
void markClaimedRows(int32_t first, int32_t last);
// Presenter side, under the lock: drops the marks of rows no write reached
// since they were last shown, and forgets what was shown.
void dropUnwrittenMarks(GfxScreen& screen);
void forgetShownRows(GfxScreen& screen);

}  // namespace krgfx
