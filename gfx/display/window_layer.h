// The window layer shared by the DirectX and GDI drivers: one process-wide
// state block, the presenter thread that owns the window, the window
// procedure and the event ring.
//
// Division of the window procedure: the window layer handles close, paint,
// display change, activation (windowActive, priority, every row dirty, events
// 11 and 12), moving to full screen and the destroyed window; it passes key
// and character messages to handleKeyboardMessage, pointer messages (move,
// buttons, wheels, leave, timer, set-cursor, moving) to handleMouseMessage,
// calls notePointerPosition before every message, and on activation
// handleInputActivation, which clears keyState and the buttons and runs the
// mouse part (event 10 when tracking was armed, clip, tracking).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "gfx/display/blitter.h"
#include "gfx/display/display_driver.h"
#include "gfx/display/display_scale.h"
#include "gfx/display/event_ring.h"
#include "gfx/display/window_system.h"
#include "gfx/screen.h"

namespace krgfx {

// How a back end shows its pictures: through a surface that the window system
// owns and the Blitter writes into ("DirectX"), or from the layer's own memory
// ("GDI").
enum class PresentPath : int32_t { sharedSurface, clientPixels };

// Opens the window system for a back end, on the presenter thread; null when
// the display cannot be reached or cannot take that path. X11 unless a test
// puts its own here.
struct WindowSystemProvider {
  WindowSystem* (*open)(PresentPath path);
  void (*close)(WindowSystem* system);
  // Starts the presenter thread running `main`; may throw like the
  // std::thread constructor. Null: an ordinary std::thread.
  void (*startThread)(std::thread& thread, void (*main)());
};
extern WindowSystemProvider windowSystemProvider;

struct PaletteEntry {
  uint8_t red, green, blue, flags;  // flags is always 4
};

struct WindowLayer {
  WindowSystem* system;  // open while the presenter runs, null otherwise
  PresentPath path;
  int32_t outerWidth, outerHeight;  // the window's fixed size
  PaletteEntry paletteEntries[256];
  bool paletteChanged;   // set by setPaletteEntry, cleared by the presenter
  int32_t windowActive;  // active and not minimised
  // The init arguments as the back end uses them; flags flip with full screen.
  int32_t width, height, depth, flags, refreshRate;
  char title[128];
  char className[20];  // "krgfxclass_" and 8 hex digits
  // Back-end hooks set by the driver's init.
  int32_t (*openWindow)();  // presenter thread; 0 or -1
  void (*closeWindow)();
  void (*repaint)();
  void (*presenterMain)();
  // Back-end state.
  Blitter blitter;                  // null: rows go out as the framebuffer has them
  ScaledBlitter scaledBlitter;      // used instead while the picture's scale is above 1
  std::vector<uint8_t> conversion;  // GDI conversion buffer
  int32_t conversionPitch;
  PicturePlacement picture;                          // the picture in the client area
  int32_t clientWidth, clientHeight;                 // the client area of the window shown
  int32_t displayPixelBytes;                         // of the display the Blitter writes
  int32_t modeHeight;                                // height of the full-screen display mode
  std::chrono::steady_clock::time_point nextReopen;  // full screen lost: next try
  bool windowPlaced;                                 // a window position is remembered
  int32_t windowX, windowY;
  bool modeChanged;  // full screen changed the display mode
  bool windowGone;   // the window or the display went away from outside
  // The presenter waits past its round for wakeWaiter: set under the lock
  // after a round that found nothing to show.
  bool presenterIdle;
};

// One per process; a driver's init zeroes it before anything else.
extern WindowLayer windowLayer;
// 1 from startWindowLayer until stopWindowLayer begins, or until the window
// goes away from outside; the presenter loops while it is set.
extern std::atomic<bool> presenterRunning;

// Driver operations shared by the window drivers.
int32_t startWindowLayer(const char* title, int32_t width, int32_t height, int32_t depth,
                         int32_t refreshRate, int32_t flags);
void stopWindowLayer();
void lockWindowLayer();
void unlockWindowLayer();
void setWindowPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue);
void waitRetraceBySleeping();
// DirectX: waits for the retrace and lets the presenter's next round follow it.
void waitRetraceSignalled();
// The presenter's side: waits up to 20 ms for a pending retrace wait to end.
void awaitPendingRetrace();
void setLayerTitle(const char* title);
int32_t moveMainWindow(int32_t x, int32_t y);
std::vector<int32_t> listWindowModes(int32_t depth);

// Presenter side: the start-up handshake, the two presenter loops, messages.
// openPresenterWindow opens the window system and the back end's window;
// false when either fails (the thread then ends and init fails).
bool openPresenterWindow();
void signalPresenterReady();
void runGdiPresenter();
void runDirectXPresenter();
// Main thread, under the lock: true when the presenter waits for wakeWaiter
// and there is something to show; it then counts as woken.
bool presenterToWake();
// One round of the back end's presenter loop on the calling thread (the
// benchmarks time a whole frame with it); false when the presenter is to
// stop.
bool presentRound();
// The main window as the layer's settings ask for it, and the picture in it:
// a window whose client area is the picture at the window's scale, centred
// on the work area; full screen at a display mode at the screen's top-left,
// `height` rows tall, the picture one to one and centred vertically.
WindowSpec mainWindowSpec(int32_t height);
// Full screen at the display's own mode: the whole screen, the picture at the
// largest scale that fits, centred on black. False when it does not fit.
bool desktopWindowSpec(WindowSpec* windowSpec);
// Full screen for a back end whose `setMode` changes the display mode and
// answers its height (0 when it found none): at that mode, else (or with
// KRGFX_FULLSCREEN=desktop) at the display's own. False when neither serves.
bool fullScreenWindowSpec(WindowSpec* windowSpec, int32_t (*setMode)());
// The (scaled) Blitter for the picture on that display; false when none.
bool chooseWindowBlitter(DisplayFormat format);
// Converts the dirty rows into a client-sized buffer whose row 0 is at
// `clientRows`, at the picture's place and scale. A buffer in host memory
// (`readable`) that the rows are only copied into gets copyChangedBlitter.
void convertPicture(uint8_t* clientRows, int32_t pitch, bool readable = false);
// The client rows that show display rows first to last of the picture.
void pictureClientRows(int32_t first, int32_t last, int32_t* clientFirst, int32_t* clientLast);
int32_t createMainWindow(const WindowSpec& windowSpec);
void pumpMessages();
void windowProcedure(const WindowMessage& message);
// A window that cannot show the screen is handled as one that went away:
// the presenter stops and the program gets windowCloseKey and event 13.
void presentationFailed();

extern const DisplayDriver directXDriver;
extern const DisplayDriver gdiDriver;
extern const DisplayDriver openGlDriver;

}  // namespace krgfx
