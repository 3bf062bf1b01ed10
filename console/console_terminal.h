// The terminal under the text console: its modes while keys are read,
// reading what it has without waiting, and showing text on it. On POSIX
// systems a terminal device (ANSI sequences, UTF-8); on Win32 the console
// (its cursor and buffer routines, UTF-16 text, key input records).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krgfx {

// Puts a terminal in the foreground into key mode (no line editing, no
// echo, no waiting, Ctrl+C kept). False when fd is no terminal or the
// process is in the background, where touching it would stop the process.
bool enterKeyMode(int fd);
// Whether fd is a terminal.
bool isTerminal(int fd);
// Gives the terminal back the modes it had before enterKeyMode.
void restoreTerminal();
// Appends the key codes of what fd has ready; false when it hung up or
// failed.
bool readTerminalKeys(int fd, std::vector<int32_t>& codes);
// The terminal's columns and rows, 80 by 25 when it reports none.
void terminalGrid(int outputFd, int inputFd, int32_t* cols, int32_t* rows);

// Appends a shown character in the terminal's encoding: UTF-8 on POSIX
// systems, code page 437 bytes on Win32.
void appendForTerminal(std::string& text, char32_t character);
// Writes text in that encoding; a closed or broken output loses it.
void writeTerminal(int fd, const std::string& text);
// Places the cursor (0-based) and clears the whole screen; nothing when fd is
// no terminal, where they would be noise in a file or pipe.
void placeTerminalCursor(int fd, int32_t row, int32_t col);
void clearTerminal(int fd);

}  // namespace krgfx
