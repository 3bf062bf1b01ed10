// drawCircle: circles and ellipses, outlined or filled, arcs and pie slices.
//
// A pixel at offset (x, y) from the centre lies inside the ellipse of radii
// rx, ry when (x / (rx + 1/2))^2 + (y / (ry + 1/2))^2 <= 1; the outline is
// every inside pixel with an outside neighbour to its left, right, top or
// bottom. Both are mirror-symmetric about the centre's row and column, and a
// circle's are also symmetric about its diagonals.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <krgfx/draw.h>
#include <krgfx/runtime.h>
#include "gfx/draw_session.h"
#include "gfx/line_raster.h"

namespace krgfx {

namespace {

constexpr double fullTurn = 2 * std::numbers::pi;
constexpr float largestRadius = 1 << 24;

struct Ellipse {
  int64_t cx, cy;
  int64_t rx, ry;
};

int64_t squareRootFloor(int64_t value) {
  if (value < 0) return -1;
  auto root = static_cast<int64_t>(std::sqrt(static_cast<double>(value)));
  while (root * root > value) --root;
  while ((root + 1) * (root + 1) <= value) ++root;
  return root;
}

// The largest x with (x, dy) inside; -1 for a row beyond the ellipse.
int64_t halfWidth(const Ellipse& shape, int64_t dy) {
  if (dy > shape.ry) return -1;
  if (shape.rx == shape.ry) return squareRootFloor(shape.rx * shape.rx + shape.rx - dy * dy);
  double a = static_cast<double>(shape.rx) + 0.5, b = static_cast<double>(shape.ry) + 0.5;
  double ratio = static_cast<double>(dy) / b;
  return static_cast<int64_t>(std::floor(a * std::sqrt(std::max(0.0, 1 - ratio * ratio))));
}

// The part of the outline to draw, as angles from 0 to 2 pi.
struct ArcRange {
  bool whole;
  double from, to;

  // Angles given as floats lie up to a float's rounding off the pixels'
  // exact ones; the ends are widened by that much.
  bool contains(double angle) const {
    if (whole) return true;
    constexpr double slack = 1e-6;
    double low = from - slack, high = to + slack;
    if (from <= to) return angle >= low && angle <= high;
    return angle >= low || angle <= high;
  }
};

double normalisedAngle(double angle) {
  angle = std::fabs(angle);
  return angle >= fullTurn ? angle - fullTurn : angle;
}

// The angle of the outline pixel at offset (x, y), y counted upwards, as the
// parameter of the ellipse's point (rx cos t, ry sin t).
double pixelAngle(const Ellipse& shape, int64_t x, int64_t up) {
  double angle = std::atan2(
      static_cast<double>(up) * static_cast<double>(std::max<int64_t>(shape.rx, 1)),
      static_cast<double>(x) * static_cast<double>(std::max<int64_t>(shape.ry, 1)));
  return angle < 0 ? angle + fullTurn : angle;
}

void plotOutlinePixel(DrawSession& session, const Ellipse& shape, const ArcRange& arc, int64_t x,
                      int64_t up) {
  if (!session.inside(shape.cx + x, shape.cy - up)) return;
  if (arc.contains(pixelAngle(shape, x, up)))
    session.plot(static_cast<int32_t>(shape.cx + x), static_cast<int32_t>(shape.cy - up));
}

// The offsets d from 0 to `limit` for which centre - d or centre + d lies in
// [low, high]; when both sides show, one range over both (what lies between
// is at most the clip rectangle's size).
struct OffsetRange {
  int64_t first, last;
  bool empty() const { return first > last; }
};
OffsetRange visibleOffsets(int64_t centre, int64_t low, int64_t high, int64_t limit) {
  OffsetRange before{std::max<int64_t>(0, centre - high), std::min(limit, centre - low)};
  OffsetRange after{std::max<int64_t>(0, low - centre), std::min(limit, high - centre)};
  if (before.empty()) return after;
  if (after.empty()) return before;
  return {std::min(before.first, after.first), std::max(before.last, after.last)};
}

int64_t clipRight(const DrawSession& session) {
  return int64_t{session.clip.x} + session.clip.width - 1;
}
int64_t clipBottom(const DrawSession& session) {
  return int64_t{session.clip.y} + session.clip.height - 1;
}

// Row dy of the outline (dy >= 0) in all four quadrants, each pixel once.
void drawOutlineRow(DrawSession& session, const Ellipse& shape, const ArcRange& arc, int64_t dy) {
  int64_t right = halfWidth(shape, dy);
  int64_t left = std::min(halfWidth(shape, dy + 1) + 1, right);
  OffsetRange shown = visibleOffsets(shape.cx, session.clip.x, clipRight(session), right);
  for (int64_t x = std::max(left, shown.first); x <= shown.last; ++x) {
    plotOutlinePixel(session, shape, arc, x, dy);
    if (x != 0) plotOutlinePixel(session, shape, arc, -x, dy);
    if (dy != 0) {
      plotOutlinePixel(session, shape, arc, x, -dy);
      if (x != 0) plotOutlinePixel(session, shape, arc, -x, -dy);
    }
  }
}

void drawOutline(DrawSession& session, const Ellipse& shape, const ArcRange& arc) {
  OffsetRange rows = visibleOffsets(shape.cy, session.clip.y, clipBottom(session), shape.ry);
  for (int64_t dy = rows.first; dy <= rows.last; ++dy) drawOutlineRow(session, shape, arc, dy);
}

void drawFilled(DrawSession& session, const Ellipse& shape) {
  int64_t top = std::max<int64_t>(shape.cy - shape.ry, session.clip.y);
  int64_t bottom = std::min<int64_t>(shape.cy + shape.ry,
                                     int64_t{session.clip.y} + session.clip.height - 1);
  for (int64_t y = top; y <= bottom; ++y) {
    int64_t half = halfWidth(shape, std::llabs(y - shape.cy));
    session.fillRow(shape.cx - half, shape.cx + half, y);
  }
}

// A pie slice's edge: from the centre to the outline's point at `angle`.
void drawRadius(DrawSession& session, const Ellipse& shape, double angle) {
  int64_t x = std::llround(static_cast<double>(shape.rx) * std::cos(angle));
  int64_t up = std::llround(static_cast<double>(shape.ry) * std::sin(angle));
  drawSegment(session, shape.cx, shape.cy, shape.cx + x, shape.cy - up, nullptr);
}

bool validArguments(float radius, float start, float end, float aspect) {
  auto angleOk = [](float angle) {
    constexpr auto turn = static_cast<float>(fullTurn);
    return angle >= -turn && angle <= turn;
  };
  return radius >= 0 && radius <= largestRadius && aspect > 0 && std::isfinite(aspect) &&
         angleOk(start) && angleOk(end);
}

}  // namespace

int32_t drawCircle(ImageBuffer* target, float x, float y, float radius, uint32_t colour,
                   float start, float end, float aspect, int32_t fill, int32_t coordType,
                   int32_t flags) {
  if (!validArguments(radius, start, end, aspect)) return setRuntimeError(errBadCall);
  DrawSession session;
  if (!beginDrawing(session, target, colour, flags, coordType)) return errBadCall;
  Ellipse shape;
  resolvePoint(*session.context, coordType, x, y, &shape.cx, &shape.cy);
  double r = radius;
  shape.rx = std::llround(aspect <= 1 ? r : r / aspect);
  shape.ry = std::llround(aspect <= 1 ? r * aspect : r);
  if (fill) {
    drawFilled(session, shape);
  } else {
    ArcRange arc{start == 0 && end == 0, normalisedAngle(start), normalisedAngle(end)};
    drawOutline(session, shape, arc);
    if (start < 0) drawRadius(session, shape, arc.from);
    if (end < 0) drawRadius(session, shape, arc.to);
  }
  return endDrawing(session);
}

}  // namespace krgfx
