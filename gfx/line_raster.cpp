// Segments cut to the clip rectangle by index: only the pixels that fall
// inside it are visited, however long the segment is.
#include "gfx/line_raster.h"

#include <algorithm>
#include <cmath>

namespace krgfx {

namespace {

constexpr int64_t coordinateLimit = int64_t{1} << 29;

// The segment cut to the square of +-coordinateLimit (Liang-Barsky on the
// exact line), ends rounded to pixels. False when nothing of it is left.
bool cutToLimit(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2) {
  auto beyond = [](int64_t v) { return v < -coordinateLimit || v > coordinateLimit; };
  if (!beyond(x1) && !beyond(y1) && !beyond(x2) && !beyond(y2)) return true;
  double t0 = 0, t1 = 1;
  double dx = static_cast<double>(x2 - x1), dy = static_cast<double>(y2 - y1);
  double limit = static_cast<double>(coordinateLimit);
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 + limit, limit - x1, y1 + limit, limit - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 > t1) return false;
  double sx = static_cast<double>(x1), sy = static_cast<double>(y1);
  x1 = std::llround(sx + t0 * dx);
  y1 = std::llround(sy + t0 * dy);
  x2 = std::llround(sx + t1 * dx);
  y2 = std::llround(sy + t1 * dy);
  return true;
}

// One axis of a segment: start, direction and the clip range along it.
struct Axis {
  int64_t start;
  int64_t direction;  // 1 or -1
  int64_t low, high;  // clip range, inclusive
};

// The steps 0 to `count` whose position start + direction * step lies in
// the axis's clip range.
bool stepsInside(const Axis& axis, int64_t count, int64_t* first, int64_t* last) {
  int64_t a, b;
  if (axis.direction > 0) {
    a = axis.low - axis.start;
    b = axis.high - axis.start;
  } else {
    a = axis.start - axis.high;
    b = axis.start - axis.low;
  }
  *first = std::max<int64_t>(*first, a);
  *last = std::min<int64_t>(*last, b);
  return *first <= *last && *first <= count && *last >= 0;
}

// Offset along the shorter axis at step i: round(i * minor / major).
int64_t minorOffset(int64_t i, int64_t minor, int64_t major) {
  return (2 * i * minor + major) / (2 * major);
}

// The first step in [first, last] whose offset is at least `wanted`
// (offsets never fall as steps grow); last + 1 when there is none.
int64_t firstStepReaching(int64_t wanted, int64_t first, int64_t last, int64_t minor,
                          int64_t major) {
  while (first <= last) {
    int64_t middle = first + (last - first) / 2;
    if (minorOffset(middle, minor, major) >= wanted)
      last = middle - 1;
    else
      first = middle + 1;
  }
  return first;
}

}  // namespace

void drawSegment(DrawSession& session, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 DashPattern* pattern) {
  int64_t length = std::max(std::llabs(x2 - x1), std::llabs(y2 - y1));
  if (!cutToLimit(x1, y1, x2, y2)) {
    if (pattern) pattern->advance(length + 1);
    return;
  }
  const ViewRect& clip = session.clip;
  int64_t dx = x2 - x1, dy = y2 - y1;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
  int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  Axis xAxis{x1, dx < 0 ? -1 : 1, clip.x, int64_t{clip.x} + clip.width - 1};
  Axis yAxis{y1, dy < 0 ? -1 : 1, clip.y, int64_t{clip.y} + clip.height - 1};
  const Axis& majorAxis = xMajor ? xAxis : yAxis;
  const Axis& minorAxis = xMajor ? yAxis : xAxis;
  int64_t first = 0, last = major;
  bool visible = clip.width > 0 && clip.height > 0 && stepsInside(majorAxis, major, &first, &last);
  if (visible && major > 0) {
    // The offsets along the minor axis that stay inside, as a range of steps.
    int64_t lowOffset = 0, highOffset = minor;
    visible = stepsInside(minorAxis, minor, &lowOffset, &highOffset);
    if (visible) {
      first = firstStepReaching(lowOffset, first, last, minor, major);
      last = firstStepReaching(highOffset + 1, first, last, minor, major) - 1;
    }
  } else if (visible) {
    visible = session.inside(x1, y1);
  }
  if (visible) {
    int64_t offset = major > 0 ? minorOffset(first, minor, major) : 0;
    // Error term of the rounding: 2 * i * minor + major, modulo 2 * major.
    int64_t twiceMajor = 2 * major;
    int64_t remainder = major > 0 ? (2 * first * minor + major) % twiceMajor : 0;
    for (int64_t i = first; i <= last; ++i) {
      int64_t a = majorAxis.start + majorAxis.direction * i;
      int64_t b = minorAxis.start + minorAxis.direction * offset;
      if (!pattern || pattern->draws(i))
        session.plot(static_cast<int32_t>(xMajor ? a : b), static_cast<int32_t>(xMajor ? b : a));
      remainder += 2 * minor;
      if (remainder >= twiceMajor) {
        remainder -= twiceMajor;
        ++offset;
      }
    }
  }
  if (pattern) pattern->advance(length + 1);
}

}  // namespace krgfx
