// The five process-wide state blocks, each allocated zero-filled on first use
// and released by the runtime's shutdown.
#pragma once

#include <cstdint>

namespace krgfx {

enum RuntimeContextKind : int32_t {
  contextError = 0,
  contextDirSearch = 1,
  contextInput = 2,
  contextFramePace = 3,
  contextDraw = 4,
  runtimeContextCount = 5,
};

struct RuntimeContexts {
  void* blocks[runtimeContextCount];
  void (*release[runtimeContextCount])(void* block);
};

extern RuntimeContexts runtimeContexts;

// The block of one kind, made with `new T{}` on first use. T's destructor
// runs when the block is released.
template <typename T>
T& runtimeContext(RuntimeContextKind kind) {
  if (!runtimeContexts.blocks[kind]) {
    runtimeContexts.blocks[kind] = new T{};
    runtimeContexts.release[kind] = [](void* block) { delete static_cast<T*>(block); };
  }
  return *static_cast<T*>(runtimeContexts.blocks[kind]);
}

void releaseRuntimeContexts();

struct ErrorState {
  int32_t lastError;
};

}  // namespace krgfx
