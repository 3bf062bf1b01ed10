// The numbered frames the game draws as its cursor, loaded from a sprite
// index: a frame count, then per frame an image file name, width, height and
// the offsets from the drawing point to the image's top-left corner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <krgfx/image.h>

namespace krgfx {

struct SpriteFrame {
  int32_t width;
  int32_t height;
  int32_t offsetX;  // added to the x at which the frame is drawn
  int32_t offsetY;
  ImageBuffer* image;  // owned; freed by releaseImages, not by destruction
};

class SpriteSet {
 public:
  SpriteSet() = default;
  SpriteSet(const SpriteSet&) = delete;  // the images have one owner
  SpriteSet& operator=(const SpriteSet&) = delete;

  // Fills the set from an index file; a missing file leaves it as it was.
  void load(const std::string& indexPath);
  // Draws frame frameNumber (from 1) on the screen with its top-left corner
  // at (x + offsetX, y + offsetY), transparent pixels skipped. A number
  // without a frame draws nothing.
  void draw(int32_t x, int32_t y, int32_t frameNumber) const;
  // Destroys every frame's image and frees the frames; frameCount stays.
  void releaseImages();

  int32_t frameCount = 0;           // the count the index gave
  std::vector<SpriteFrame> frames;  // frame n at frames[n - 1]
};

}  // namespace krgfx
