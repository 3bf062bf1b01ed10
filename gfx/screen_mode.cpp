// Opening and closing a graphics mode: the screen, its pages and tables, the
// display driver and the console hooks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>
#include "gfx/builtin_data.h"
#include "gfx/depth_routines.h"
#include "gfx/display/display_driver.h"
#include "gfx/draw_context.h"
#include "gfx/page_memory.h"
#include "gfx/screen.h"
#include "gfx/screen_hooks.h"
#include "gfx/text/text_view.h"
#include "runtime/program_path.h"
#include "runtime/runtime_state.h"

namespace krgfx {

GfxScreen* gfxScreen;
int32_t modeSerial = 1;
char windowTitle[128];
uint32_t* blitterWorkTable;
bool endHookRegistered;
int32_t displayScaleRequest;

namespace {

// Frees the screen and everything hung on it, after stopping its driver.
void tearDownScreen() {
  GfxScreen* screen = gfxScreen;
  if (!screen) return;
  if (screen->driver && screen->driver->exit) screen->driver->exit();
  for (int32_t page = 0; page < screen->pageCount; ++page) {
    if (screen->textCells) std::free(screen->textCells[page]);
    if (screen->pages) freePage(screen->pages[page]);
  }
  delete[] screen->textCells;
  delete[] screen->pages;
  delete[] screen->dirtyLines;
  delete[] screen->rowWrites;
  delete screen;
  gfxScreen = nullptr;
  delete[] blitterWorkTable;
  blitterWorkTable = nullptr;
}

// Bytes per pixel and colour mask of a depth; false for a depth no mode has.
bool normaliseDepth(GfxScreen& screen) {
  int32_t depth = screen.depth;
  if (depth == 15 || depth == 16) {
    screen.depth = 16, screen.colorMask = 0xFFFF, screen.bytesPerPixel = 2;
  } else if (depth == 24 || depth == 32) {
    screen.depth = 32, screen.colorMask = 0xFFFFFFFF, screen.bytesPerPixel = 4;
  } else if (depth == 1 || depth == 2 || depth == 4 || depth == 8) {
    screen.colorMask = (1u << depth) - 1, screen.bytesPerPixel = 1;
  } else {
    return false;
  }
  return true;
}

// Pages, dirty rows, work table and text cells; false when memory runs out.
// Sizes are reckoned in 64 bits: with a 32-bit size_t (i686, WebAssembly)
// a page of 32768 x 32768 x 4 bytes would wrap to an allocation of nothing.
bool allocateBuffers(GfxScreen& screen, int32_t textCols, int32_t textRows) {
  uint64_t wantedPage = static_cast<uint64_t>(screen.pitch) * static_cast<uint64_t>(screen.height);
  uint64_t wantedCells = static_cast<uint64_t>(textCols) * static_cast<uint64_t>(textRows);
  if (wantedPage > SIZE_MAX || wantedCells > SIZE_MAX / sizeof(TextCell)) return false;
  size_t pageBytes = static_cast<size_t>(wantedPage);
  size_t cellCount = static_cast<size_t>(wantedCells);
  screen.pages = new (std::nothrow) uint8_t*[static_cast<size_t>(screen.pageCount)]();
  screen.textCells = new (std::nothrow) TextCell*[static_cast<size_t>(screen.pageCount)]();
  if (!screen.pages || !screen.textCells) return false;
  for (int32_t page = 0; page < screen.pageCount; ++page) {
    screen.pages[page] = allocatePage(pageBytes);
    if (!screen.pages[page]) return false;
    screen.textCells[page] = static_cast<TextCell*>(
        std::calloc(cellCount ? cellCount : 1, sizeof(TextCell)));
    if (!screen.textCells[page]) return false;
  }
  screen.visibleFramebuffer = screen.pages[0];
  size_t dirtyBytes = static_cast<size_t>(screen.height) * static_cast<size_t>(screen.scanlineSize);
  screen.dirtyLines = new (std::nothrow) uint8_t[dirtyBytes]();
  screen.rowWrites = new (std::nothrow) uint8_t[static_cast<size_t>(screen.height)];
  if (screen.rowWrites) std::memset(screen.rowWrites, rowUnshown | rowNotBlank, screen.height);
  blitterWorkTable = new (std::nothrow) uint32_t[512]();
  return screen.dirtyLines && screen.rowWrites && blitterWorkTable;
}

// The program's file name without directory and extension, from the whole
// path, then cut to the title's room.
void takeTitleFromProgram() {
  if (windowTitle[0]) return;
  std::string name = programNameOf(programPath(), programPathSeparators, sizeof windowTitle - 1);
  std::memcpy(windowTitle, name.c_str(), name.size() + 1);
}

// The mode's palette from the built-in one, shown through the driver.
void resetPalette(GfxScreen& screen) {
  if (screen.depth > 8 || !screen.defaultPalette) return;
  lockScreen();
  const PaletteDesc& palette = *screen.defaultPalette;
  for (int32_t i = 0; i < palette.colours && i < 256; ++i) {
    const uint8_t* rgb = palette.rgb + 3 * i;
    screen.palette[i] = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
    if (i < (1 << screen.depth)) {
      screen.devicePalette[i] = screen.palette[i];
      if (screen.driver->setPaletteEntry) screen.driver->setPaletteEntry(i, rgb[0], rgb[1], rgb[2]);
    }
  }
  markAllRowsDirty();
  unlockScreen(1, 0);
}

// Text cells of the work page to blanks and every pixel of every page to the
// background colour.
void clearNewScreen(GfxScreen& screen) {
  DrawContext& context = currentContext();
  TextCell* cells = screen.textCells[context.workPage];
  for (int32_t i = 0; i < screen.textCols * screen.textRows; ++i)
    cells[i] = {32, context.foreColor, context.backColor};
  for (int32_t page = 0; page < screen.pageCount; ++page)
    for (int32_t row = 0; row < screen.height; ++row)
      context.fillSpan(screen.pages[page] + static_cast<size_t>(row) * screen.pitch,
                       context.backColor, screen.width);
}

int32_t failMode(int32_t code) {
  closeScreen();
  return code;
}

// Closes the open screen and, unless closing, builds the new one.
int32_t buildMode(int32_t modeNumber, int32_t width, int32_t height, int32_t depth,
                  int32_t scanlineSize, int32_t pageCount, int32_t refreshRate,
                  int32_t paletteIndex, int32_t fontIndex, int32_t flags, float aspect,
                  int32_t textCols, int32_t textRows) {
  if (flags >= 0 && (flags & flagColourKeyed)) flags |= flagNoSwitch | flagNoFrame;
  bool closing = modeNumber == 0 || width == 0;
  if (!closing &&
      (width < 0 || height <= 0 || scanlineSize <= 0 || pageCount <= 0 || textCols < 0 ||
       textRows < 0 || paletteIndex >= paletteCount || fontIndex >= fontCount))
    return errBadCall;
  tearDownScreen();
  if (closing) {
    runtimeState.hooks = ConsoleHooks{};
    forgetTextView();
    return 0;
  }
  installScreenHooks(runtimeState.hooks);
  gfxScreen = new (std::nothrow) GfxScreen{};
  if (!gfxScreen) return failMode(errNoMemory);
  GfxScreen& screen = *gfxScreen;
  screen.serial = modeSerial++;
  screen.modeNumber = modeNumber;
  screen.width = width;
  screen.height = height;
  screen.depth = depth;
  if (flags >= 0 && (flags & flagOpenGl) && screen.depth < 16) screen.depth = 16;
  screen.defaultPalette = paletteIndex >= 0 ? &paletteTable[paletteIndex] : nullptr;
  screen.scanlineSize = scanlineSize;
  screen.font = fontIndex >= 0 ? &fontTable[fontIndex] : nullptr;
  screen.aspect = aspect;
  if (!normaliseDepth(screen)) return failMode(errBadCall);
  int64_t pitch = static_cast<int64_t>(width) * screen.bytesPerPixel;
  int64_t displayRows = static_cast<int64_t>(height) * scanlineSize;
  if (pitch > INT32_MAX || displayRows > INT32_MAX) return failMode(errNoMemory);
  screen.pitch = static_cast<int32_t>(pitch);
  screen.pageCount = pageCount;
  // Text cells are counted before step 16 stores the grid, to allocate them here.
  if (!allocateBuffers(screen, textCols, textRows)) return failMode(errNoMemory);
  if (flags != flagNoDisplay) {
    if (flags & flagAlphaBlend) screen.flags |= screenAlphaBlend;
    if (flags & flagOpenGl) screen.flags |= screenOpenGl;
    if (flags & flagHighPriority) screen.flags |= screenHighPriority;
  }
  selectDepthRoutines(screen.bytesPerPixel);
  unpackBuiltinData();
  takeTitleFromProgram();
  const DisplayDriver* driver = selectDriver(windowTitle, width, static_cast<int32_t>(displayRows),
                                             screen.depth, refreshRate, flags);
  if (!driver) return failMode(errBadCall);
  screen.driver = driver;
  resetPalette(screen);
  screen.textCols = textCols;
  screen.textRows = textRows;
  // The presenter may already show the page: clear it under the lock.
  lockScreen();
  clearNewScreen(screen);
  unlockScreen(1, 0);
  runtimeState.fileTable[0].printWidth = screen.textCols;
  runtimeState.fileTable[0].printColumn = screen.cursorX;
  if (!endHookRegistered) {
    registerEndHook(closeScreen);
    endHookRegistered = true;
  }
  if (flags != flagInternalClose) setTextView(0, 0, 1);
  return 0;
}

}  // namespace

int32_t applyMode(int32_t modeNumber, int32_t width, int32_t height, int32_t depth,
                  int32_t scanlineSize, int32_t pageCount, int32_t refreshRate,
                  int32_t paletteIndex, int32_t fontIndex, int32_t flags, float aspect,
                  int32_t textCols, int32_t textRows) {
  return setRuntimeError(buildMode(modeNumber, width, height, depth, scanlineSize, pageCount,
                                   refreshRate, paletteIndex, fontIndex, flags, aspect, textCols,
                                   textRows));
}

int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pageCount, int32_t flags,
                   int32_t refreshRate) {
  bool knownDepth = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 15 ||
                    depth == 16 || depth == 24 || depth == 32;
  if (width <= 0 || height <= 0 || !knownDepth) return setRuntimeError(errBadCall);
  if (pageCount <= 0) pageCount = 1;
  int32_t result = applyMode(-1, width, height, depth, 1, pageCount, refreshRate, 3, 0, flags, 1.0f,
                             width / 8, height / 8);
  if (result == 0) runtimeState.fileTable[0].printColumn = 0;
  return setRuntimeError(result);
}

void closeScreen() {
  if (gfxScreen) applyMode(0, 0, 0, 0, 0, 0, 0, 0, 0, flagInternalClose, 0.0f, 0, 0);
}

int32_t setDisplayScale(int32_t scale) {
  if (scale < 0 || scale > 8) return setRuntimeError(errBadCall);
  displayScaleRequest = scale;
  return setRuntimeError(0);
}

}  // namespace krgfx
