// The terminal under the text console: its modes while keys are read, and
// reading what it has without waiting.
#pragma once

#include <cstdint>
#include <string>

// Puts a terminal in the foreground into key mode (non-canonical, no echo,
// no waiting, signals kept). False when fd is no terminal or the process is
// in the background, where touching it would stop the process.
bool enterKeyMode(int fd);
// Whether fd is a terminal.
bool isTerminal(int fd);
// Gives the terminal back the modes it had before enterKeyMode.
void restoreTerminal();
// Appends what fd has ready; false when it hung up or failed.
bool readReadyBytes(int fd, std::string& bytes);
// The terminal's columns and rows, 80 by 25 when it reports none.
void terminalGrid(int outputFd, int inputFd, int32_t* cols, int32_t* rows);
