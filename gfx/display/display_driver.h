// The operation table of a display back end and the table of back ends that
// screen mode setup chooses from.
#pragma once

#include <cstdint>
#include <vector>

namespace krgfx {

// A null slot is an operation the back end does not offer; callers test it.
struct DisplayDriver {
  // Compared without regard to case with the KRGFX setting when selectDriver
  // picks a back end.
  const char* name;
  // Starts the back end for a new mode (window, display surfaces, presenter
  // thread) and returns once the window is up: 0, or non-zero when it cannot
  // start. selectDriver calls it on the program's thread.
  int32_t (*init)(const char* title, int32_t width, int32_t height, int32_t depth,
                  int32_t refreshRate, int32_t flags);
  // Stops the back end and releases what init made; safe after a failed init.
  // Called by applyMode and closeScreen.
  void (*exit)();
  // The re-entrant lock that keeps the presenter out of the framebuffer;
  // lockScreen and unlockScreen call them.
  void (*lock)();
  void (*unlock)();
  // Changes one entry (components 0 to 255) of an 8-bit display's palette;
  // applyMode and the image loader call it.
  void (*setPaletteEntry)(int32_t index, int32_t red, int32_t green, int32_t blue);
  // Waits for the display's vertical retrace.
  void (*waitRetrace)();
  // The pointer report behind readMouse, called under the lock: 0 with the
  // outputs set, -1 (outputs untouched) while the pointer is not over an
  // active window.
  int32_t (*readMouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
  // Behind placeMouse, under the lock: moves, shows or hides and confines the
  // pointer (mouseNotGiven or a negative value keeps a setting); returns 0.
  int32_t (*placeMouse)(int32_t x, int32_t y, int32_t cursor, int32_t clip);
  // Changes the window's caption.
  void (*setTitle)(const char* title);
  // Moves the window and returns 0; with both 0x80000000 returns its place
  // as (left & 0xFFFF) | top << 16 instead.
  int32_t (*moveWindow)(int32_t x, int32_t y);
  // The display's full-screen modes of a depth.
  std::vector<int32_t> (*listModes)(int32_t depth);  // (width << 16) | height each
  // Presents the work page, for a back end that flips pages itself (copyPage
  // calls it instead of copying).
  void (*showPage)();
  // Reads the window's input where no presenter thread does it; copyPage
  // calls it after showPage.
  void (*pumpInput)();
};

constexpr int32_t driverTableSize = 3;

// DirectX, GDI and OpenGL, in the order selection tries them; an empty entry
// is skipped. Tests may place their own drivers here.
extern const DisplayDriver* driverTable[driverTableSize];

// No window and no display: only name, lock and unlock.
extern const DisplayDriver nullDriver;

// Picks and starts a driver for a new mode; null when none starts.
const DisplayDriver* selectDriver(const char* title, int32_t width, int32_t height, int32_t depth,
                                  int32_t refreshRate, int32_t flags);

}  // namespace krgfx
