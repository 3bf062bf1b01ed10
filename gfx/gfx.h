// Public interface of the graphics screen: opening and closing a mode and the
// screen lock that brackets drawing.
#pragma once

#include <cstdint>

// Flags of openScreen and applyMode. A negative value is a special request.
constexpr int32_t flagFullScreen = 0x1;
constexpr int32_t flagOpenGl = 0x2;
constexpr int32_t flagNoSwitch = 0x4;
constexpr int32_t flagNoFrame = 0x8;
constexpr int32_t flagColourKeyed = 0x10;
constexpr int32_t flagTopmost = 0x20;
constexpr int32_t flagAlphaBlend = 0x40;
constexpr int32_t flagHighPriority = 0x80;
constexpr int32_t flagNoDisplay = -1;
constexpr int32_t flagInternalClose = INT32_MIN;  // 0x80000000, used by closeScreen

// The value that stands for an omitted coordinate or clearScreen mode.
constexpr int32_t notGiven = static_cast<int32_t>(0xFFFF0000u);

int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pageCount,
                   int32_t flags, int32_t refreshRate);
int32_t applyMode(int32_t modeNumber, int32_t width, int32_t height, int32_t depth,
                  int32_t scanlineSize, int32_t pageCount, int32_t refreshRate,
                  int32_t paletteIndex, int32_t fontIndex, int32_t flags, float aspect,
                  int32_t textCols, int32_t textRows);
void closeScreen();

void lockScreen();
void unlockScreen(int32_t startLine, int32_t endLine);
