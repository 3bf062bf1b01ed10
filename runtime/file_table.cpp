// Closing every numbered file at the end of the program.
#include "runtime/runtime.h"
#include "runtime/runtime_state.h"

void closeAllFiles() {
  if (!runtimeState.filesInUse) return;
  runtimeState.filesInUse = 0;
  for (int32_t number = 1; number <= 255; ++number) {
    FileHandle& file = *fileHandleOf(number);
    if (file.hooks && file.hooks->close) file.hooks->close(file);
  }
  for (int32_t number = 1; number <= 255; ++number) *fileHandleOf(number) = FileHandle{};
}
