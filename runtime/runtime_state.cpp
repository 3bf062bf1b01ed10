// The runtime's global state block and the file numbers that name its handles.
#include "runtime/runtime_state.h"

namespace krgfx {

RuntimeState runtimeState;
int32_t startupCount;

FileHandle* fileHandleOf(int32_t fileNumber) {
  if (fileNumber == 0) return &runtimeState.fileTable[0];
  if (fileNumber == -1) return &runtimeState.fileTable[1];
  if (fileNumber >= 1 && fileNumber <= 255) return &runtimeState.fileTable[fileNumber + 1];
  return nullptr;
}

}  // namespace krgfx
