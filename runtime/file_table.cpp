// Free file numbers, closing one numbered file and closing them all.
#include <krgfx/runtime.h>
#include "runtime/runtime_state.h"

namespace krgfx {

int32_t freeFileNumber() {
  for (int32_t number = 1; number <= 255; ++number) {
    if (!fileHandleOf(number)->hooks) return number;
  }
  return 0;
}

int32_t closeFile(int32_t fileNumber) {
  if (fileNumber == 0) return setRuntimeError(errBadCall);  // the console stays
  FileHandle* file = fileHandleOf(fileNumber);
  if (!file || !file->hooks || !file->hooks->close) return setRuntimeError(errBadCall);
  // The number is freed whatever the close reports: a handle whose stream
  // is gone could neither be used nor closed again.
  int32_t result = file->hooks->close(*file);
  *file = FileHandle{};
  return setRuntimeError(result);
}

void closeAllFiles() {
  if (!runtimeState.filesInUse) return;
  runtimeState.filesInUse = 0;
  for (int32_t number = 1; number <= 255; ++number) {
    FileHandle& file = *fileHandleOf(number);
    if (file.hooks && file.hooks->close) file.hooks->close(file);
  }
  for (int32_t number = 1; number <= 255; ++number) *fileHandleOf(number) = FileHandle{};
}

}  // namespace krgfx
