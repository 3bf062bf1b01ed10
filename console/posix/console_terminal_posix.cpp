// The console on POSIX systems: a terminal device in non-canonical mode,
// ANSI sequences and UTF-8 text.
#include "console/console_terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "console/cp437.h"
#include "console/terminal_keys.h"

namespace krgfx {

namespace {

// The terminal whose modes we changed, and the modes it had. Read by the
// signal handlers below, so plain data only.
int changedFd = -1;
termios savedModes;
volatile sig_atomic_t modesChanged = 0;

// Signals that end or stop the process by default: the terminal gets its
// modes back first, then the default runs.
constexpr int restoringSignals[] = {SIGINT, SIGQUIT, SIGTSTP};

void restoreThenDefault(int signalNumber) {
  int savedErrno = errno;
  restoreTerminal();
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigaction(signalNumber, &fallback, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signalNumber);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signalNumber);
  // Only a stop returns here, once the process is continued: handle the
  // next one the same way. Key mode comes back at the next poll, when the
  // process is in the foreground again.
  struct sigaction again {};
  again.sa_handler = restoreThenDefault;
  sigemptyset(&again.sa_mask);
  sigaction(signalNumber, &again, nullptr);
  errno = savedErrno;
}

void guardAgainstDefaultSignals() {
  static bool guarded = false;
  if (guarded) return;
  guarded = true;
  for (int signalNumber : restoringSignals) {
    struct sigaction current {};
    sigaction(signalNumber, nullptr, &current);
    if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL) continue;
    struct sigaction guard {};
    guard.sa_handler = restoreThenDefault;
    sigemptyset(&guard.sa_mask);
    sigaction(signalNumber, &guard, nullptr);
  }
  std::atexit(restoreTerminal);
}

}  // namespace

bool enterKeyMode(int fd) {
  if (modesChanged && changedFd == fd) return true;
  if (!isatty(fd)) return false;
  // Only the controlling terminal stops a background process that touches it.
  pid_t foreground = tcgetpgrp(fd);
  if (foreground != -1 && foreground != getpgrp()) return false;
  restoreTerminal();  // another terminal had been changed
  termios modes;
  if (tcgetattr(fd, &modes) != 0) return false;
  guardAgainstDefaultSignals();
  savedModes = modes;
  changedFd = fd;
  modes.c_lflag &= ~(ICANON | ECHO);  // ISIG stays: Ctrl+C still interrupts
  modes.c_iflag &= ~ICRNL;            // Enter arrives as CR, code 13
  modes.c_cc[VMIN] = 0;
  modes.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &modes) != 0) return false;
  modesChanged = 1;
  return true;
}

void restoreTerminal() {
  if (!modesChanged) return;
  modesChanged = 0;
  tcsetattr(changedFd, TCSANOW, &savedModes);
}

namespace {

// Appends what fd has ready; false when it hung up or failed.
bool readReadyBytes(int fd, std::string& bytes) {
  constexpr size_t mostPerPoll = 4096;
  while (bytes.size() < mostPerPoll) {
    pollfd ready{fd, POLLIN, 0};
    int result = ::poll(&ready, 1, 0);
    if (result < 0 && errno == EINTR) continue;
    if (result < 0) return false;
    if (result == 0) return true;
    if (!(ready.revents & POLLIN)) return false;  // hung up or invalid
    char chunk[256];
    ssize_t count = ::read(fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && errno == EAGAIN) return true;
    if (count <= 0) return false;  // end of input after a readiness report: hung up
    bytes.append(chunk, static_cast<size_t>(count));
  }
  return true;
}

}  // namespace

bool readTerminalKeys(int fd, std::vector<int32_t>& codes) {
  std::string bytes;
  bool alive = readReadyBytes(fd, bytes);
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t at = 0, used = 0; at < bytes.size(); at += used) {
    if (int32_t code = decodeTerminalKey(data + at, bytes.size() - at, &used))
      codes.push_back(code);
  }
  return alive;
}

void terminalGrid(int outputFd, int inputFd, int32_t* cols, int32_t* rows) {
  winsize size{};
  if ((ioctl(outputFd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) ||
      (ioctl(inputFd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0)) {
    *cols = size.ws_col;
    *rows = size.ws_row;
    return;
  }
  *cols = 80;
  *rows = 25;
}

bool isTerminal(int fd) { return isatty(fd) == 1; }

void appendForTerminal(std::string& text, char32_t character) { appendUtf8(text, character); }

void writeTerminal(int fd, const std::string& text) {
  const char* bytes = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t written = ::write(fd, bytes, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes += written;
    left -= static_cast<size_t>(written);
  }
}

void placeTerminalCursor(int fd, int32_t row, int32_t col) {
  if (isTerminal(fd))
    writeTerminal(fd, "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(col + 1) + "H");
}

void clearTerminal(int fd) {
  if (isTerminal(fd)) writeTerminal(fd, "\x1b[H\x1b[2J");
}

}  // namespace krgfx
