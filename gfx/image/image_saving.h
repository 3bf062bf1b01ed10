// Writing pictures to files: the pixels of an image or the screen as the
// writers see them.
#pragma once

#include <cstdint>
#include <cstdio>

namespace krgfx {

struct SavedPicture {
  int32_t bytesPerPixel;  // 1, 2 or 4
  int32_t width;
  int32_t height;
  uint8_t* const* rows;     // top first
  const uint32_t* colours;  // 256 palette entries 0x00BBGGRR, 8-bit components
};

// Writes the picture as a BMP (see saveImageFile). 0, errBadCall when it is
// too large for the format, errIoFailed when writing fails.
int32_t writeBmp(std::FILE* file, const SavedPicture& picture);

// Writes the picture as a PNG of 8-bit channels (see saveImageFile). 0,
// errNoMemory, or errIoFailed when writing fails.
int32_t savePng(std::FILE* file, const SavedPicture& picture);

// Writes source (null: the screen's work page) to the stream as a PNG or a
// BMP, under the screen lock. Returns the result code without recording it.
int32_t saveImageStream(std::FILE* file, bool png, const void* source, const uint32_t* palette);

}  // namespace krgfx
