// The operation table of a display back end and the table of back ends that
// screen mode setup chooses from.
#pragma once

#include <cstdint>
#include <vector>

struct DisplayDriver {
  const char* name;
  int32_t (*init)(const char* title, int32_t width, int32_t height, int32_t depth,
                  int32_t refreshRate, int32_t flags);
  void (*exit)();
  void (*lock)();
  void (*unlock)();
  void (*setPaletteEntry)(int32_t index, int32_t red, int32_t green, int32_t blue);
  void (*waitRetrace)();
  int32_t (*readMouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                       int32_t* clip);
  int32_t (*placeMouse)(int32_t x, int32_t y, int32_t cursor, int32_t clip);
  void (*setTitle)(const char* title);
  int32_t (*moveWindow)(int32_t x, int32_t y);
  std::vector<int32_t> (*listModes)(int32_t depth);  // (width << 16) | height each
  void (*showPage)();
  void (*pumpInput)();
};

constexpr int32_t driverTableSize = 3;

// DirectX, GDI and OpenGL, in the order selection tries them; an empty entry
// is skipped. Tests may place their own drivers here.
extern const DisplayDriver* driverTable[driverTableSize];

// No window and no display: only name, lock and unlock.
extern const DisplayDriver nullDriver;

// Picks and starts a driver for a new mode; null when none starts.
const DisplayDriver* selectDriver(const char* title, int32_t width, int32_t height,
                                  int32_t depth, int32_t refreshRate, int32_t flags);
