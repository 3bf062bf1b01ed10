// Numbered files inside the runtime: the disk files' operation table and the
// byte-level reading that the field reader builds on.
#pragma once

#include <cstdint>

#include "runtime/runtime_state.h"

namespace krgfx {

// File modes of `openFile`.
constexpr int32_t modeBytes = 0;
constexpr int32_t modeRecords = 1;
constexpr int32_t modeReadText = 2;
constexpr int32_t modeWrite = 3;
constexpr int32_t modeAppend = 4;

// Requested access of `openFile`.
constexpr int32_t accessDefault = 0;
constexpr int32_t accessRead = 1;
constexpr int32_t accessWrite = 2;
constexpr int32_t accessReadWrite = 3;

// `FileHandle::kind` values.
constexpr int32_t kindConsoleDevice = 1;
constexpr int32_t kindDiskFile = 4;

// Every disk file's stream is fully buffered with a buffer of this size.
constexpr int32_t streamBufferSize = 8192;

extern const FileOps diskFileOps;

// Puts n bytes in front of the handle's pushed-back input, so they are read
// first. errBadCall for a closed handle, errIoFailed when more than four
// bytes would wait; nothing is stored then.
int32_t pushBack(FileHandle& file, const uint8_t* bytes, int32_t n);

// Reads up to *length bytes: first the pushed-back ones, then from the
// handle's `read` slot. *length becomes the number of bytes delivered.
// errBadCall for a closed handle or a missing `read` slot.
int32_t readBytes(FileHandle& file, uint8_t* buffer, int32_t* length);

}  // namespace krgfx
