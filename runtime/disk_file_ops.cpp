// The operation table of disk files: stdio streams with the platform's
// byte-range locks.

#include <algorithm>
#include <cstdio>
#include <string>

#include <krgfx/runtime.h>
#include "runtime/file_lock.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

int32_t diskEof(FileHandle& file) {
  if (!file.stream) return -1;
  if (file.mode == modeBytes || file.mode == modeRecords) {
    off_t position = ftello(file.stream);
    return position < 0 || position >= file.size ? -1 : 0;
  }
  if (std::feof(file.stream)) return -1;
  int next = std::getc(file.stream);
  if (next == EOF) return -1;
  std::ungetc(next, file.stream);
  return 0;
}

int32_t diskClose(FileHandle& file) {
  int32_t result = 0;
  if (file.stream && std::fclose(file.stream) != 0) result = errIoFailed;  // unwritten data lost
  file.stream = nullptr;
  delete[] file.streamBuffer;
  file.streamBuffer = nullptr;
  return result;
}

int32_t diskSeek(FileHandle& file, int64_t offset, int32_t whence) {
  if (!file.stream) return errBadCall;
  int origin;
  switch (whence) {
    case 0:
      origin = SEEK_SET;
      break;
    case 1:
      origin = SEEK_CUR;
      break;
    case 2:
      origin = SEEK_END;
      if (std::fflush(file.stream) != 0) return errIoFailed;
      break;
    default:
      return errBadCall;
  }
  return fseeko(file.stream, offset, origin) == 0 ? 0 : errIoFailed;
}

int32_t diskTell(FileHandle& file, int64_t* position) {
  if (!file.stream || !position) return errBadCall;
  off_t here = ftello(file.stream);
  if (here < 0) return errIoFailed;
  *position = here;
  return 0;
}

// Console streams read from the process's standard input.
FILE* readSource(FILE* stream) { return stream == stdout || stream == stderr ? stdin : stream; }

// Reads up to *length units of unitSize bytes, zero-filling what a short read
// leaves of the buffer.
int32_t readUnits(FileHandle& file, void* buffer, int32_t* length, size_t unitSize) {
  if (!length) return errBadCall;
  if (!file.stream || !buffer || *length < 0) {
    *length = 0;
    return errBadCall;
  }
  FILE* source = readSource(file.stream);
  size_t wanted = static_cast<size_t>(*length);
  size_t got = std::fread(buffer, unitSize, wanted, source);
  if (got < wanted) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::fill(bytes + got * unitSize, bytes + wanted * unitSize, 0);
  }
  *length = static_cast<int32_t>(got);
  return got < wanted && std::ferror(source) ? errIoFailed : 0;
}

int32_t diskRead(FileHandle& file, void* buffer, int32_t* length) {
  return readUnits(file, buffer, length, 1);
}

int32_t diskReadWide(FileHandle& file, char16_t* buffer, int32_t* length) {
  return readUnits(file, buffer, length, sizeof(char16_t));
}

int32_t writeUnits(FileHandle& file, const void* data, int32_t length, size_t unitSize) {
  if (!file.stream || length < 0 || (length > 0 && !data)) return errBadCall;
  size_t wanted = static_cast<size_t>(length);
  return std::fwrite(data, unitSize, wanted, file.stream) == wanted ? 0 : errIoFailed;
}

int32_t diskWrite(FileHandle& file, const void* data, int32_t length) {
  return writeUnits(file, data, length, 1);
}

int32_t diskWriteWide(FileHandle& file, const char16_t* data, int32_t length) {
  return writeUnits(file, data, length, sizeof(char16_t));
}

int32_t changeLock(FileHandle& file, int64_t offset, int64_t length, bool lock) {
  uint32_t start = static_cast<uint32_t>(offset);
  uint32_t count = static_cast<uint32_t>(length);
  if (!file.stream || count == 0) return errBadCall;
  return changeFileLock(file.stream, start, count, lock);
}

int32_t diskLock(FileHandle& file, int64_t offset, int64_t length) {
  return changeLock(file, offset, length, true);
}

int32_t diskUnlock(FileHandle& file, int64_t offset, int64_t length) {
  return changeLock(file, offset, length, false);
}

// One line without its line end (LF or CR LF); errIoFailed when the file
// ends before any byte.
template <typename Char, typename GetUnit>
int32_t readLineOf(FileHandle& file, std::basic_string<Char>* line, GetUnit getUnit) {
  if (!file.stream || !line) return errBadCall;
  line->clear();
  FILE* source = readSource(file.stream);
  bool gotAny = false;
  for (;;) {
    int32_t unit;
    if (!getUnit(source, &unit)) break;
    gotAny = true;
    if (unit == '\n') break;
    line->push_back(static_cast<Char>(unit));
  }
  if (!line->empty() && line->back() == Char('\r')) line->pop_back();
  return gotAny ? 0 : errIoFailed;
}

int32_t diskReadLine(FileHandle& file, std::string* line) {
  return readLineOf(file, line, [](FILE* source, int32_t* unit) {
    int byte = std::getc(source);
    *unit = byte;
    return byte != EOF;
  });
}

int32_t diskReadLineWide(FileHandle& file, std::u16string* line) {
  return readLineOf(file, line, [](FILE* source, int32_t* unit) {
    char16_t wide;
    if (std::fread(&wide, sizeof wide, 1, source) != 1) return false;
    *unit = wide;
    return true;
  });
}

int32_t diskFlush(FileHandle& file) {
  if (!file.stream) return errBadCall;
  return std::fflush(file.stream) == 0 ? 0 : errIoFailed;
}

}  // namespace

const FileOps diskFileOps = {
    .eof = diskEof,
    .close = diskClose,
    .seek = diskSeek,
    .tell = diskTell,
    .read = diskRead,
    .readWide = diskReadWide,
    .write = diskWrite,
    .writeWide = diskWriteWide,
    .lock = diskLock,
    .unlock = diskUnlock,
    .readLine = diskReadLine,
    .readLineWide = diskReadLineWide,
    .unused = nullptr,
    .flush = diskFlush,
};

}  // namespace krgfx
