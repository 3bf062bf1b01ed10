// What the window layer, the keyboard and the mouse ask of the window system.
// Implementations: X11, Wayland, Win32, the browser's canvas, and a scripted
// one that tests drive. Everything
// above this interface is portable and runs without a display.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace krgfx {

// Screen or client rectangle; right and bottom are exclusive.
struct WindowRect {
  int32_t left, top, right, bottom;
  bool contains(int32_t x, int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

struct WindowSpec {
  std::string title;
  std::string className;  // "krgfxclass_" and 8 hex digits
  int32_t x, y;           // screen position of the window's top-left corner
  int32_t width, height;  // client area, exactly the mode's size
  bool frameless;         // no frame and caption
  bool topmost;
  bool canMaximise;  // offers a maximise control (switches to full screen)
  bool fullScreen;   // a window covering the whole screen at (x, y)
  // Where the picture lies in the client area: the pointer counts as over
  // the window only there; hidden and confined there. Empty: all of it.
  WindowRect picture;
  // The window, frame included, goes to the middle of the screen. (x, y)
  // is then the middle place of a window without a frame, which a window
  // system that adds no frame of its own takes as it is.
  bool centred;
};

// The display's pixel format: depth 8, 15, 16, 24 or 32 (24 meaning three
// bytes per pixel), and rgbOrder 1 when red sits in the low bits.
struct DisplayFormat {
  int32_t depth;
  int32_t rgbOrder;
};

// Bytes one pixel of a display depth takes in a surface.
inline int32_t displayBytesPerPixel(int32_t depth) {
  return depth <= 8 ? 1 : depth <= 16 ? 2 : depth == 24 ? 3 : 4;
}

// Rows shown from the program's memory are padded to 32 bits, as the rows of
// a device-independent bitmap or an X image are.
constexpr int32_t presentRowAlignment = 4;

// A client-sized buffer in the display's format, shown by presentRows.
struct PixelSurface {
  uint8_t* pixels;  // first byte of client row 0, null when there is none
  int32_t pitch;
  // Ordinary memory of this process (not video memory), cheap to read back.
  bool hostMemory = false;
};

struct DisplayMode {
  int32_t width, height, refreshRate;
};

enum class MessageKind : int32_t {
  keyDown,  // key pressed or repeated (wasDown)
  keyUp,
  systemKeyDown,  // with Alt held, or F10
  systemKeyUp,
  character,  // one code page 437 byte typed
  mouseMove,
  buttonDown,
  buttonUp,
  buttonDoubleClick,
  wheel,  // vertical wheel, wheelDelta > 0 forward
  horizontalWheel,
  mouseLeave,     // pointer left the client area
  timer,          // a timer started with startTimer ticked
  setCursor,      // the window asks which pointer to show
  activate,       // activation changed (active, minimised)
  close,          // the user asked to close the window
  paint,          // part of the client area must be shown again
  displayChange,  // the display's settings changed
  dpiChanged,     // the window moved to a monitor of another DPI
  moving,         // the user is moving the window
  maximise,       // the user asked to maximise
  destroyed,      // the window or the display went away from outside
};

struct WindowMessage {
  MessageKind kind;
  // Key messages.
  int32_t virtualKey;          // virtual-key number (letters 65-90, F1 112, ...)
  int32_t scanCode;            // PC set-1 scan code
  bool enhanced;               // an E0-prefixed key (arrows, Insert, right Ctrl, ...)
  int32_t repeatCount;         // 1 per message here
  bool wasDown;                // the key was already down (auto-repeat)
  uint8_t character;           // key: the one character it types with the current
                               // modifiers, 0 for none or a dead key; character
                               // message: the code page 437 byte
  uint8_t unshiftedCharacter;  // key: the character it types without modifiers
  int32_t modifiers;           // key: the Shift, Ctrl and Alt bits of the modifier
                               // word (input/key_codes.h) as they stood when the
                               // key went down or up; the enhanced bit is separate
  // Pointer messages.
  int32_t x, y;  // client position (may lie outside the client area)
  // Key and pointer messages: where the pointer was on the screen when the
  // event happened, when the window system tells (pointerKnown).
  bool pointerKnown;
  int32_t screenX, screenY;
  int32_t button;  // 0x1 left, 0x2 right, 0x4 middle, 0x8, 0x10 extra
  int32_t wheelDelta;
  // Activation.
  bool active;
  bool minimised;
  // Timer.
  int32_t timerId;
};

// A message of `kind` with nothing else set (one repetition).
inline WindowMessage windowMessage(MessageKind kind) {
  WindowMessage message{};
  message.kind = kind;
  message.repeatCount = 1;
  return message;
}

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // The one window. createWindow answers false when it cannot be made.
  virtual bool createWindow(const WindowSpec& windowSpec) = 0;
  virtual void destroyWindow() = 0;
  virtual bool hasWindow() const = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void moveWindow(int32_t x, int32_t y) = 0;
  virtual WindowRect windowRect() = 0;  // outer rectangle on the screen
  virtual WindowRect clientRectOnScreen() = 0;
  virtual WindowRect screenRect() = 0;  // the whole screen
  // The part of the screen that windows may take (without panels and
  // docks), the whole screen when the system does not tell.
  virtual WindowRect workArea() { return screenRect(); }
  // The desktop's dots per inch (96 the ordinary), 0 when it does not tell.
  virtual int32_t desktopDpi() { return 0; }

  // Delivers every waiting message to the procedure, in order.
  virtual void dispatchMessages(void (*procedure)(const WindowMessage& message)) = 0;

  // Presentation: rows first to last of the surface shown at the same client rows.
  virtual DisplayFormat displayFormat() = 0;
  // Both answer false when the rows could not be shown.
  virtual PixelSurface surface() = 0;
  virtual bool presentRows(int32_t first, int32_t last) = 0;
  // Rows first to last of the caller's buffer (display format, pitch bytes
  // from row to row, row 0 at pixels) shown at the same client rows. The
  // pitch must be a multiple of presentRowAlignment.
  virtual bool presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) = 0;
  // Run by the presenter after each round, without the driver lock: a
  // window system that hands the rows presented in the round to another
  // thread (the browser's) does it here, so that the program never waits
  // for that thread.
  virtual void finishRound() {}
  virtual int32_t refreshRate() = 0;  // Hz, 0 when unknown
  virtual void waitForRetrace(int32_t timeoutMs) = 0;

  // Waiting between presenter rounds, without the driver lock: up to
  // timeoutMs, returning early when the window system has an event to read
  // or another thread calls wakeWaiter. The plain form sleeps the whole time.
  virtual void waitForEvents(int32_t timeoutMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  }
  virtual void wakeWaiter() {}
  // True when waitForEvents returns for every event and wakeWaiter, nothing
  // read is waiting to be dispatched and no timer runs: the presenter may then
  // wait past its round until something happens. Asked under the driver lock.
  virtual bool quietUntilWoken() { return false; }

  // Keyboard: 256 bytes, bit 7 set while down; by virtual key, and by scan
  // code with E0-prefixed keys at scan + 128. scanCodeState answers false
  // when the keyboard could not be read this time (a device that lost its
  // input): what the keys were is then unknown.
  virtual void virtualKeyState(uint8_t state[256]) = 0;
  virtual bool scanCodeState(uint8_t state[256]) = 0;

  // Pointer, in screen coordinates. clientRectOnScreen, asked for on every
  // message, should cost no round trip to a display server.
  virtual void pointerPosition(int32_t* x, int32_t* y) = 0;
  virtual void movePointer(int32_t x, int32_t y) = 0;
  // False where programs may not move the pointer (Wayland): it then stays
  // where the user put it.
  virtual bool canMovePointer() { return true; }
  virtual bool pointerOverThisWindow() = 0;  // no other window above it there
  virtual void confinePointer(bool confined) = 0;
  virtual void showPointer(bool visible) = 0;  // arrow, or none over the client area
  virtual void capturePointer(bool captured) = 0;
  virtual bool pointerCaptured() = 0;
  virtual void startTimer(int32_t id, int32_t intervalMs) = 0;
  virtual void stopTimer(int32_t id) = 0;

  // Display modes and the screen saver.
  virtual std::vector<DisplayMode> displayModes() = 0;
  virtual bool setDisplayMode(const DisplayMode& mode) = 0;
  virtual void restoreDisplayMode() = 0;
  virtual void suspendScreenSaver() = 0;
  virtual void restoreScreenSaver() = 0;

  virtual void bell() = 0;
};

}  // namespace krgfx
