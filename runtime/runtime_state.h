// The runtime's process-wide state block and the tables of routines hung on it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace krgfx {

struct FileHandle;

// Operation table of one kind of open file, set as the handle's `hooks` when
// it opens. A null slot is an operation the kind does not offer. Every slot
// returns 0 or a result code (errBadCall for a handle without its stream,
// errIoFailed when the system refuses) unless it says otherwise.
struct FileOps {
  // -1 at the end of the file (or without a stream), else 0.
  int32_t (*eof)(FileHandle& file);
  // Releases the stream and its buffer; closeFile and closeAllFiles call it
  // and free the handle only when it returns 0.
  int32_t (*close)(FileHandle& file);
  // Moves to offset from the start (whence 0), the current place (1) or the end (2).
  int32_t (*seek)(FileHandle& file, int64_t offset, int32_t whence);
  // The current byte position into *position.
  int32_t (*tell)(FileHandle& file, int64_t* position);
  // Up to *length bytes; *length becomes the count read and the rest of the
  // buffer is zeroed. readBytes calls it for the field reader.
  int32_t (*read)(FileHandle& file, void* buffer, int32_t* length);
  // The same in 16-bit units.
  int32_t (*readWide)(FileHandle& file, char16_t* buffer, int32_t* length);
  // Writes length bytes, errIoFailed when fewer went out; the print
  // operations call it for file numbers above 0.
  int32_t (*write)(FileHandle& file, const void* data, int32_t length);
  // The same in 16-bit units.
  int32_t (*writeWide)(FileHandle& file, const char16_t* data, int32_t length);
  // Locks and unlocks a byte range (the low 32 bits of offset and length);
  // errBadCall for length 0.
  int32_t (*lock)(FileHandle& file, int64_t offset, int64_t length);
  int32_t (*unlock)(FileHandle& file, int64_t offset, int64_t length);
  // One line without its line end; errIoFailed at the end of the file.
  int32_t (*readLine)(FileHandle& file, std::string* line);
  // The same in 16-bit units.
  int32_t (*readLineWide)(FileHandle& file, std::u16string* line);
  void* unused;  // empty for every kind of file
  // Writes out what the stream buffers.
  int32_t (*flush)(FileHandle& file);
};

// One numbered file. A null `hooks` means the handle is closed.
struct FileHandle {
  int32_t mode;
  int32_t recordLength;
  int32_t encoding;
  int64_t size;
  int32_t kind;
  int32_t access;
  int32_t lock;
  int32_t printColumn;
  int32_t printWidth;
  uint8_t pushBack[4];
  int32_t pushBackLength;
  const FileOps* hooks;
  FILE* stream;
  char* streamBuffer;  // the stream's own 8192-byte buffer, released with it
};

// Text and input operations that a graphics screen takes over while it is
// open. A runtime operation calls its slot when set, else the text console's
// (activeHook). applyMode fills every slot through installScreenHooks when a
// mode opens and clears them when the screen closes. Rows and columns are
// 1-based; results are 0 or a result code unless a slot says otherwise.
struct ConsoleHooks {
  // pollKey: the next key as a string (one byte, or 0xFF and the scan
  // value), empty when none waits.
  std::string (*pollKey)();
  // waitKey: waits for a key and returns its code; 0 when none can come.
  int32_t (*waitKey)();
  // keyPending: 1 while a key waits, else 0; the key stays queued.
  int32_t (*keyPending)();
  // clearScreen: clears the whole screen (0), graphics view (1), text view
  // (2) or the default choice (notGiven) and homes the text cursor.
  void (*clearScreen)(int32_t mode);
  // Colours of the following text (flags bit 0x1 keeps the foreground, 0x2
  // the background); returns the previous foreground.
  int32_t (*setColours)(uint32_t foreground, uint32_t background, int32_t flags);
  // placeCursor: moves the text cursor (0 keeps a row or column); returns
  // the new place as ((row - 1) << 8 | (col - 1)) + 0x101.
  int32_t (*placeCursor)(int32_t row, int32_t col, int32_t cursor);
  // Sets a text grid of cols x rows cells (both <= 0: only asks); returns the
  // previous size as cols | rows << 16.
  int32_t (*setGrid)(int32_t cols, int32_t rows);
  // The text cursor's column and row, one at a time or both.
  int32_t (*cursorColumn)();
  int32_t (*cursorRow)();
  void (*cursorPosition)(int32_t* col, int32_t* row);
  // The size of the text grid.
  void (*gridSize)(int32_t* cols, int32_t* rows);
  // Prints bytes (code page 437) at the cursor with wrapping and scrolling;
  // the print operations call it for file number 0.
  void (*outputBytes)(const uint8_t* bytes, int32_t length, int32_t mask);
  // The same for 16-bit text, converted to bytes first.
  void (*outputWide)(const char16_t* chars, int32_t length, int32_t mask);
  // Edits one line at the cursor into buffer (at most maxLength bytes);
  // returns its length.
  int32_t (*readLine)(char* buffer, int32_t maxLength);
  // keyIsDown: -1 while the key of scanCode is held, else 0.
  int32_t (*keyIsDown)(int32_t scanCode);
  // readMouse and placeMouse, as the public operations of the same names.
  int32_t (*readMouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
  int32_t (*placeMouse)(int32_t x, int32_t y, int32_t cursor, int32_t clip);
  // Emulated I/O ports; nothing in the runtime calls them.
  int32_t (*portIn)(int32_t port);
  void (*portOut)(int32_t port, int32_t value);
  // setTextView tells the device that the text view's rows changed.
  void (*viewChanged)();
  // Shows prompt (and "? " when askMark is set) and reads a line into
  // destination; the second form in 16-bit text.
  void (*promptLine)(std::string& destination, const std::string* prompt, int32_t askMark);
  void (*promptLineWide)(std::u16string& destination, const std::u16string* prompt,
                         int32_t askMark);
  // The character of a text cell (colourFlag 0) or its colours (1, 2 the
  // background alone at 16 and 32 bits); 0 outside the grid.
  int32_t (*readCell)(int32_t col, int32_t row, int32_t colourFlag);
  // sleepMs: pauses ms milliseconds; -1 waits until a key.
  void (*sleepMs)(int32_t ms);
  // 1 when the text output goes to a file or pipe rather than the device;
  // the graphics screen answers 0.
  int32_t (*outputRedirected)();
  // Copies page source (negative: the work page) onto destination
  // (negative: the visible page).
  int32_t (*copyPage)(int32_t source, int32_t destination);
  // Chooses the page drawn on and the page shown (a number that names no
  // page keeps it); returns the previous pair as visible << 8 | work.
  int32_t (*setPages)(int32_t work, int32_t visible);
};

constexpr int32_t fileTableSize = 257;  // console, reserved, files 1 to 255

struct RuntimeState {
  int32_t argc;
  char** argv;
  ConsoleHooks hooks;
  FileHandle fileTable[fileTableSize];
  int32_t filesInUse;
  int32_t option;
  void (*endHook)();
};

extern RuntimeState runtimeState;
extern int32_t startupCount;

// The handle that a file number names: 0 the console, -1 the reserved one,
// 1 to 255 the files; null for any other number.
FileHandle* fileHandleOf(int32_t fileNumber);

// The text console's routines; a null slot does nothing there.
extern ConsoleHooks textConsoleHooks;

// The routine a runtime operation uses for one slot: the screen's while one is
// installed, otherwise the text console's (possibly null).
template <auto Slot>
auto activeHook() {
  auto screenRoutine = runtimeState.hooks.*Slot;
  return screenRoutine ? screenRoutine : textConsoleHooks.*Slot;
}

}  // namespace krgfx
