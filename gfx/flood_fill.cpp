// floodFill: a scanline fill. Each seed grows into the run of fillable pixels
// on its row; the runs above and below it become new seeds. A bit per pixel
// records what is filled, so nothing is filled twice (blending colours stay
// right) and the fill colour may equal the border's or the area's. The seeds
// wait in a list of fixed size; when it is full, further seeds are dropped
// and later found again by sweeping the clip rectangle for fillable pixels
// next to filled ones, so memory stays bounded whatever the shape.
#include "gfx/flood_fill.h"

#include <new>
#include <vector>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/colour_format.h"

namespace krgfx {

namespace {

struct Seed {
  int32_t x, y;
};

class FloodFill {
 public:
  FloodFill(DrawSession& session, FloodRule rule, size_t capacity)
      : session_(session),
        context_(*session.context),
        clip_(session.clip),
        rule_(rule),
        capacity_(capacity) {}

  bool allocate() {
    size_t pixels = static_cast<size_t>(clip_.width) * static_cast<size_t>(clip_.height);
    try {
      filled_.assign((pixels + 63) / 64, 0);
      seeds_.reserve(capacity_);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  void run(int32_t x, int32_t y) {
    push(x, y);
    drain();
    while (dropped_) {
      dropped_ = false;
      sweep();
    }
  }

 private:
  size_t bitOf(int32_t x, int32_t y) const {
    return static_cast<size_t>(y - clip_.y) * static_cast<size_t>(clip_.width) +
           static_cast<size_t>(x - clip_.x);
  }
  bool isFilled(int32_t x, int32_t y) const {
    size_t bit = bitOf(x, y);
    return filled_[bit / 64] >> (bit % 64) & 1;
  }
  void markFilled(int32_t x, int32_t y) {
    size_t bit = bitOf(x, y);
    filled_[bit / 64] |= uint64_t{1} << (bit % 64);
  }
  bool fillable(int32_t x, int32_t y) {
    if (isFilled(x, y)) return false;
    uint32_t pixel = comparedColourBits(context_.bytesPerPixel, context_.getPixel(context_, x, y));
    return rule_.overColour ? pixel == rule_.match : pixel != rule_.match;
  }

  void push(int32_t x, int32_t y) {
    if (seeds_.size() < capacity_)
      seeds_.push_back({x, y});
    else
      dropped_ = true;
  }

  void drain() {
    while (!seeds_.empty()) {
      Seed seed = seeds_.back();
      seeds_.pop_back();
      if (fillable(seed.x, seed.y)) fillRun(seed);
    }
  }

  // The run through the seed, filled, and seeds for the runs next to it.
  void fillRun(Seed seed) {
    int32_t left = seed.x, right = seed.x;
    int32_t clipRight = clip_.x + clip_.width - 1;
    while (left > clip_.x && fillable(left - 1, seed.y)) --left;
    while (right < clipRight && fillable(right + 1, seed.y)) ++right;
    for (int32_t x = left; x <= right; ++x) markFilled(x, seed.y);
    session_.fillRow(left, right, seed.y);
    if (seed.y > clip_.y) seedRuns(left, right, seed.y - 1);
    if (seed.y < clip_.y + clip_.height - 1) seedRuns(left, right, seed.y + 1);
  }

  // One seed for each run of fillable pixels of row y between left and right.
  void seedRuns(int32_t left, int32_t right, int32_t y) {
    bool inRun = false;
    for (int32_t x = left; x <= right; ++x) {
      bool open = fillable(x, y);
      if (open && !inRun) push(x, y);
      inRun = open;
    }
  }

  bool besideFilled(int32_t x, int32_t y) const {
    return (x > clip_.x && isFilled(x - 1, y)) ||
           (x < clip_.x + clip_.width - 1 && isFilled(x + 1, y)) ||
           (y > clip_.y && isFilled(x, y - 1)) ||
           (y < clip_.y + clip_.height - 1 && isFilled(x, y + 1));
  }

  // Seeds every fillable pixel that touches the filled area, row by row.
  void sweep() {
    for (int32_t y = clip_.y; y < clip_.y + clip_.height; ++y)
      for (int32_t x = clip_.x; x < clip_.x + clip_.width; ++x)
        if (besideFilled(x, y) && fillable(x, y)) {
          push(x, y);
          drain();
        }
  }

  DrawSession& session_;
  DrawContext& context_;
  ViewRect clip_;
  FloodRule rule_;
  size_t capacity_;
  std::vector<uint64_t> filled_;
  std::vector<Seed> seeds_;
  bool dropped_ = false;
};

}  // namespace

int32_t floodFrom(DrawSession& session, int64_t x, int64_t y, uint32_t border, bool overColour,
                  size_t seedCapacity) {
  if (!session.inside(x, y)) return 0;
  DrawContext& context = *session.context;
  int32_t bpp = context.bytesPerPixel;
  auto seedX = static_cast<int32_t>(x), seedY = static_cast<int32_t>(y);
  FloodRule rule{
      overColour,
      comparedColourBits(bpp, overColour ? context.getPixel(context, seedX, seedY) : border)};
  FloodFill fill(session, rule, seedCapacity < 1 ? 1 : seedCapacity);
  if (!fill.allocate()) return errNoMemory;
  fill.run(seedX, seedY);
  return 0;
}

int32_t floodFill(ImageBuffer* target, float x, float y, uint32_t colour, uint32_t border,
                  int32_t coordType, int32_t flags) {
  DrawSession session;
  if (!beginDrawing(session, target, colour, flags, coordType)) return errBadCall;
  int64_t px, py;
  resolvePoint(*session.context, coordType, x, y, &px, &py);
  uint32_t borderPixel = (flags & borderNotGiven)
                             ? session.colour
                             : pixelOfColour(session.context->bytesPerPixel, border);
  int32_t result = floodFrom(session, px, py, borderPixel, flags & fillOverColour,
                             floodSeedCapacity);
  endDrawing(session);
  return setRuntimeError(result);
}

}  // namespace krgfx
