// Loading images from files: the steps behind loadImageFile, open to callers
// that already have a stream (an in-memory one in the fuzz target).
#pragma once

#include <cstdint>
#include <cstdio>

namespace krgfx {

// Loads a BMP, PNG or raw dump from the stream's start into destination (null:
// the screen's work page). The stream stays open. Returns the result code
// without recording it.
int32_t loadImageStream(std::FILE* file, void* destination, uint32_t* palette);

// The size and bits per pixel of the picture in the stream, as
// imageFileInfo gives them (null outputs are skipped). Needs no screen.
int32_t readImageInfo(std::FILE* file, int32_t* width, int32_t* height, int32_t* depth);

// The two kinds of file. loadRawDump starts just after the first byte
// (`kind`, 0xFD or 0xFE); loadBmp at the start of the file.
int32_t loadRawDump(std::FILE* file, int32_t kind, void* destination, uint32_t* palette);
int32_t loadBmp(std::FILE* file, void* destination, uint32_t* palette);

// Sends all 256 devicePalette entries to the running driver.
void refreshDisplayPalette();

}  // namespace krgfx
