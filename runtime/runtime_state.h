// The runtime's process-wide state block and the tables of routines hung on it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct FileHandle;

// Operation table of one kind of open file. A null slot is an operation the
// kind does not offer.
struct FileOps {
  int32_t (*eof)(FileHandle& file);
  int32_t (*close)(FileHandle& file);
  int32_t (*seek)(FileHandle& file, int64_t offset, int32_t whence);
  int32_t (*tell)(FileHandle& file, int64_t* position);
  int32_t (*read)(FileHandle& file, void* buffer, int32_t* length);
  int32_t (*readWide)(FileHandle& file, char16_t* buffer, int32_t* length);
  int32_t (*write)(FileHandle& file, const void* data, int32_t length);
  int32_t (*writeWide)(FileHandle& file, const char16_t* data, int32_t length);
  int32_t (*lock)(FileHandle& file, int64_t offset, int64_t length);
  int32_t (*unlock)(FileHandle& file, int64_t offset, int64_t length);
  int32_t (*readLine)(FileHandle& file, std::string* line);
  int32_t (*readLineWide)(FileHandle& file, std::u16string* line);
  void* unused;
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
// open. A runtime operation calls its slot when set, else the text console's.
struct ConsoleHooks {
  std::string (*pollKey)();
  int32_t (*waitKey)();
  int32_t (*keyPending)();
  void (*clearScreen)(int32_t mode);
  int32_t (*setColours)(uint32_t foreground, uint32_t background, int32_t flags);
  int32_t (*placeCursor)(int32_t row, int32_t col, int32_t cursor);
  int32_t (*setGrid)(int32_t cols, int32_t rows);
  int32_t (*cursorColumn)();
  int32_t (*cursorRow)();
  void (*cursorPosition)(int32_t* col, int32_t* row);
  void (*gridSize)(int32_t* cols, int32_t* rows);
  void (*outputBytes)(const uint8_t* bytes, int32_t length, int32_t mask);
  void (*outputWide)(const char16_t* chars, int32_t length, int32_t mask);
  int32_t (*readLine)(char* buffer, int32_t maxLength);
  int32_t (*keyIsDown)(int32_t scanCode);
  int32_t (*readMouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                       int32_t* clip);
  int32_t (*placeMouse)(int32_t x, int32_t y, int32_t cursor, int32_t clip);
  int32_t (*portIn)(int32_t port);
  void (*portOut)(int32_t port, int32_t value);
  void (*viewChanged)();
  void (*promptLine)(std::string& destination, const std::string* prompt,
                     int32_t askMark);
  void (*promptLineWide)(std::u16string& destination, const std::u16string* prompt,
                         int32_t askMark);
  int32_t (*readCell)(int32_t col, int32_t row, int32_t colourFlag);
  void (*sleepMs)(int32_t ms);
  int32_t (*outputRedirected)();
  int32_t (*copyPage)(int32_t source, int32_t destination);
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
