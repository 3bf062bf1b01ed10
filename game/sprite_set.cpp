#include "game/sprite_set.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <krgfx/gfx.h>
#include <krgfx/runtime.h>

namespace krgfx {

namespace {

constexpr int32_t indexAttributes = 0x21;  // regular and read-only files
constexpr int32_t readAsText = 2;

int32_t readInt(int32_t fileNumber) {
  int32_t value = 0;
  selectInputFile(fileNumber);
  readIntField(&value);
  return value;
}

std::string readText(int32_t fileNumber) {
  std::string text;
  selectInputFile(fileNumber);
  readTextField(text, -1, 0);
  return text;
}

// Every field read from a file that still has bytes takes at least one of
// them, so no more than size / 5 + 1 frames can hold anything. Frames past
// that read nothing but zeros and would get no image; leaving them out keeps
// a count of millions from allocating or looping without bound.
int32_t framesTheFileCanHold(const std::string& path) {
  std::error_code error;
  auto size = std::filesystem::file_size(path, error);
  if (error) return 0;
  return static_cast<int32_t>(std::min<std::uintmax_t>(size / 5 + 1, INT32_MAX));
}

// The most image memory one index may ask for, all frames together, counted
// at 4 bytes per pixel (the deepest screen). The game's frames need a few
// kilobytes; a single line of an index could otherwise ask for gigabytes.
constexpr int64_t imageMemoryCap = int64_t{64} << 20;

int64_t imageBytes(const SpriteFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0) return 0;
  return int64_t{frame.width} * frame.height * 4;
}

// Reads one frame and, while the set stays within the cap, makes its image;
// `imageMemory` is what the frames before it took.
SpriteFrame readFrame(int32_t fileNumber, int64_t& imageMemory) {
  SpriteFrame frame{};
  std::string imageFile = readText(fileNumber);
  frame.width = readInt(fileNumber);
  frame.height = readInt(fileNumber);
  frame.offsetX = readInt(fileNumber);
  frame.offsetY = readInt(fileNumber);
  // Filled with the transparent colour: a file that does not load leaves
  // the frame invisible. Without an image (no screen, or a size of 0 or
  // less) there is nothing to load into; a null destination would load the
  // file onto the screen instead.
  int64_t bytes = imageBytes(frame);
  if (bytes > imageMemoryCap - imageMemory) return frame;  // stays empty
  imageMemory += bytes;
  frame.image = createImage(frame.width, frame.height, 0, 0, colourNotGiven);
  if (frame.image) loadImageFile(imageFile, frame.image, nullptr);
  return frame;
}

}  // namespace

void SpriteSet::load(const std::string& indexPath) {
  if (findFirstFile(indexPath, indexAttributes, nullptr).empty()) return;
  releaseImages();  // a set loaded before would otherwise lose its images
  int32_t fileNumber = freeFileNumber();
  // An index that does not open is read as empty: reading on would take the
  // fields of whatever file was selected before.
  if (openFile(indexPath, readAsText, 0, 0, fileNumber, 0) != 0) {
    frameCount = 0;
    return;
  }
  frameCount = readInt(fileNumber);
  int32_t framesToRead = std::clamp(frameCount, 0, framesTheFileCanHold(indexPath));
  int64_t imageMemory = 0;
  for (int32_t number = 1; number <= framesToRead; ++number) {
    frames.push_back(readFrame(fileNumber, imageMemory));
  }
  closeFile(fileNumber);
}

void SpriteSet::draw(int32_t x, int32_t y, int32_t frameNumber) const {
  if (frameNumber < 1 || static_cast<size_t>(frameNumber) > frames.size()) return;
  const SpriteFrame& frame = frames[static_cast<size_t>(frameNumber) - 1];
  // Summed in 64 bits: an offset from the file may be any 32-bit value.
  auto left = static_cast<float>(int64_t{x} + frame.offsetX);
  auto top = static_cast<float>(int64_t{y} + frame.offsetY);
  drawImage(nullptr, left, top, frame.image, notGiven, notGiven, notGiven, notGiven, 0, 0,
            transparentCopy, -1, nullptr, nullptr);
}

void SpriteSet::releaseImages() {
  for (SpriteFrame& frame : frames) destroyImage(frame.image);
  std::vector<SpriteFrame>().swap(frames);
}

}  // namespace krgfx
