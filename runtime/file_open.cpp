// Opening a numbered file on disk in one of the five file modes.
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <new>

#include <krgfx/runtime.h>
#include "runtime/file_names.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

// Gives a freshly opened stream full buffering through the handle's own
// buffer (the library's buffer when that cannot be had).
void bufferStream(FileHandle& file) {
  if (!file.streamBuffer) file.streamBuffer = new (std::nothrow) char[streamBufferSize];
  std::setvbuf(file.stream, file.streamBuffer, _IOFBF, streamBufferSize);
}

// Directories open for reading here but cannot be read; like the files of
// other platforms they are refused.
bool isDirectory(FILE* stream) {
  struct stat status;
  return fstat(fileno(stream), &status) == 0 && S_ISDIR(status.st_mode);
}

bool openStream(FileHandle& file, const char* name, const char* how) {
  file.stream = std::fopen(name, how);
  if (!file.stream) return false;
  if (isDirectory(file.stream)) {
    std::fclose(file.stream);
    file.stream = nullptr;
    return false;
  }
  bufferStream(file);
  return true;
}

// The length of the file behind the stream, -1 when it has none.
int64_t streamLength(FILE* stream) {
  if (std::fflush(stream) != 0 || fseeko(stream, 0, SEEK_END) != 0) return -1;
  return ftello(stream);
}

int32_t openReadText(FileHandle& file, const char* name) {
  if (!openStream(file, name, "rb")) return errNoFile;
  file.size = streamLength(file.stream);
  if (file.size < 0) return errBadCall;
  // Text mode reads the bytes unchanged here; reopening also rewinds.
  file.stream = std::freopen(name, "r", file.stream);
  if (!file.stream) return errNoFile;
  bufferStream(file);
  return 0;
}

bool openBytesStream(FileHandle& file, const char* name) {
  if (file.access == accessRead) return openStream(file, name, "rb");
  if (file.access == accessWrite) return openStream(file, name, "wb");
  if (openStream(file, name, "r+b")) return true;
  bool mayCreate = file.access == accessDefault || file.access == accessReadWrite;
  if (mayCreate && openStream(file, name, "w+b")) return true;
  if (file.access != accessDefault || !openStream(file, name, "rb")) return false;
  file.access = accessRead;
  return true;
}

int32_t openOtherMode(FileHandle& file, const char* name) {
  bool opened = file.mode == modeWrite    ? openStream(file, name, "wb")
                : file.mode == modeAppend ? openStream(file, name, "ab")
                                          : openBytesStream(file, name);
  if (!opened) return errNoFile;
  if (file.mode == modeWrite) {
    file.size = 0;
  } else if (file.mode == modeAppend) {
    // Where an append stream starts differs by platform (at the end, or at 0
    // until the first write): its length is the file's length either way.
    file.size = streamLength(file.stream);
  } else {
    file.size = streamLength(file.stream);
    if (file.size >= 0 && fseeko(file.stream, 0, SEEK_SET) != 0) file.size = -1;
  }
  return file.size < 0 ? errBadCall : 0;
}

// "CON" in any mix of case.
bool namesTheConsole(const char* name) {
  const char* console = "CON";
  for (; *name && *console; ++name, ++console)
    if (std::toupper(static_cast<unsigned char>(*name)) != *console) return false;
  return !*name && !*console;
}

int32_t openOnDisk(FileHandle& file, const char* name) {
  file.hooks = &diskFileOps;
  if (file.mode < modeBytes || file.mode > modeAppend) return errBadCall;
  int32_t result = file.mode == modeReadText ? openReadText(file, name) : openOtherMode(file, name);
  if (result != 0) return result;
  if (file.access == accessDefault) file.access = accessReadWrite;
  if (namesTheConsole(name)) file.kind = kindConsoleDevice;
  return 0;
}

int32_t recordLengthFor(int32_t mode, int32_t recordLength) {
  if (mode < modeRecords || mode > modeWrite) return 0;
  return recordLength > 0 ? recordLength : 128;
}

}  // namespace

int32_t openFile(const std::string& name, int32_t mode, int32_t access, int32_t lock,
                 int32_t fileNumber, int32_t recordLength) {
  if (fileNumber < 1 || fileNumber > 255) return setRuntimeError(errBadCall);
  FileHandle& file = *fileHandleOf(fileNumber);
  if (file.hooks) return setRuntimeError(errBadCall);

  runtimeState.filesInUse = 1;
  file = FileHandle{};
  file.mode = mode;
  file.recordLength = recordLengthFor(mode, recordLength);
  file.encoding = 0;
  file.size = -1;
  file.kind = kindDiskFile;
  file.access = access;
  file.lock = lock;
  // The name ends at its first zero byte.
  int32_t result = openOnDisk(file, platformFileName(name.c_str()).c_str());
  if (result != 0) {
    diskFileOps.close(file);
    file = FileHandle{};
  }
  return setRuntimeError(result);
}

}  // namespace krgfx
