// The runtime's last error number, kept in its own context block.
#include <krgfx/runtime.h>
#include "runtime/runtime_contexts.h"

namespace krgfx {

RuntimeContexts runtimeContexts;

int32_t setRuntimeError(int32_t code) {
  runtimeContext<ErrorState>(contextError).lastError = code;
  return code;
}

int32_t runtimeError() { return runtimeContext<ErrorState>(contextError).lastError; }

void releaseRuntimeContexts() {
  for (int32_t kind = 0; kind < runtimeContextCount; ++kind) {
    if (runtimeContexts.blocks[kind]) runtimeContexts.release[kind](runtimeContexts.blocks[kind]);
    runtimeContexts.blocks[kind] = nullptr;
    runtimeContexts.release[kind] = nullptr;
  }
}

}  // namespace krgfx
