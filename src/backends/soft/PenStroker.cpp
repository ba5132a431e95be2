#include "backends/soft/PenStroker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "backends/soft/EllipseOutline.h"
#include "backends/soft/ThinLine.h"

namespace halyard::soft {
namespace {

// The cap is GDI's elliptic region (-w/2, -w/2) to ((w+1)/2 + 1, (w+1)/2 + 1):
// offsets -w/2 .. (w-1)/2 in both directions, the extra pixel of an even
// width on the top and left.
std::int64_t CapLow(std::int64_t width) { return -(width / 2); }
std::int64_t CapHigh(std::int64_t width) { return (width + 1) / 2 + 1; }

// Rounds a positive half-width as GDI does (add a half, then truncate).
std::int64_t RoundHalf(double v) { return static_cast<std::int64_t>(v + 0.5); }

}  // namespace

void PenStroker::Stroke(std::span<const Point64> points, bool closed, std::int64_t width,
                        SpanPainter& painter) {
  if (points.size() < 2) return;
  if (width <= 1) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i) DrawThinLine(points[i], points[i + 1], painter);
    if (closed) DrawThinLine(points.back(), points.front(), painter);
    return;
  }

  for (std::size_t i = 0; i + 1 < points.size(); ++i) Body(points[i], points[i + 1], width, painter);
  if (closed) Body(points.back(), points.front(), width, painter);

  // Every point gets the round shape: the ends as caps, the others as joins.
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0 && points[i] == points[i - 1]) continue;
    Cap(points[i], width, painter);
  }
}

void PenStroker::Body(Point64 from, Point64 to, std::int64_t width, SpanPainter& painter) {
  const std::int64_t dx = to.x - from.x;
  const std::int64_t dy = to.y - from.y;
  if (dx == 0 && dy == 0) return;
  if (dy == 0) {
    const std::int64_t top = from.y - width / 2;
    painter.Rect(std::min(from.x, to.x), top, std::max(from.x, to.x), top + width);
    return;
  }
  if (dx == 0) {
    const std::int64_t left = from.x - width / 2;
    painter.Rect(left, std::min(from.y, to.y), left + width, std::max(from.y, to.y));
    return;
  }

  // A quadrilateral around the segment whose two sides are split into a
  // narrow and a wide half; the split swaps with the direction of y so that a
  // segment covers the same pixels whichever way it is drawn.
  // Below 2^26 the sum of squares is exact in a double, and its correctly
  // rounded square root is what hypot gives, for a fraction of the cost: the
  // hands are stroked again for every band a repaint replays.
  constexpr std::int64_t kExactSquares = std::int64_t{1} << 26;
  const double length = Abs64(dx) < kExactSquares && Abs64(dy) < kExactSquares
                             ? std::sqrt(static_cast<double>(dx * dx + dy * dy))
                             : std::hypot(static_cast<double>(dx), static_cast<double>(dy));
  const double spanX = static_cast<double>(width) * static_cast<double>(Abs64(dy)) / length;
  const double spanY = static_cast<double>(width) * static_cast<double>(Abs64(dx)) / length;
  Point64 narrow{RoundHalf(spanX / 2), RoundHalf(spanY / 2)};
  Point64 wide{RoundHalf((spanX + 1) / 2), RoundHalf((spanY + 1) / 2)};
  if (dx < 0) {
    narrow.y = -narrow.y;
    wide.y = -wide.y;
  }
  if (dy < 0) {
    std::swap(narrow, wide);
    narrow.x = -narrow.x;
    wide.x = -wide.x;
  }
  const std::array<Point64, 4> corners{{
      {from.x - narrow.x, from.y + narrow.y},
      {from.x + wide.x, from.y - wide.y},
      {to.x + wide.x, to.y - wide.y},
      {to.x - narrow.x, to.y + narrow.y},
  }};
  std::int64_t left = std::numeric_limits<std::int64_t>::max();
  std::int64_t top = left;
  std::int64_t right = std::numeric_limits<std::int64_t>::min();
  std::int64_t bottom = right;
  for (const Point64& c : corners) {
    left = std::min(left, c.x);
    top = std::min(top, c.y);
    right = std::max(right, c.x);
    bottom = std::max(bottom, c.y);
  }
  if (painter.Misses(left, top, right, bottom)) return;
  filler_.Fill(corners, FillRule::Alternate, painter);
}

void PenStroker::Cap(Point64 at, std::int64_t width, SpanPainter& painter) {
  const std::int64_t low = CapLow(width);
  const std::int64_t high = CapHigh(width);
  if (painter.Misses(at.x + low, at.y + low, at.x + high, at.y + high)) return;

  if (width > kExactCurveLimit) {
    // Absurdly wide pens: build only the rows this picture shows.
    farCap_.clear();
    region_.Build(at.x + low, at.y + low, at.x + high, at.y + high, high - low, high - low, 0,
                  painter.Height(), farCap_);
    for (const RegionRow& row : farCap_) painter.Rect(row.left, row.top, row.right, row.bottom);
    return;
  }
  if (capWidth_ != width) {
    cap_.clear();
    region_.Build(low, low, high, high, high - low, high - low, low, high, cap_);
    capWidth_ = width;
  }
  for (const RegionRow& row : cap_) {
    painter.Rect(at.x + row.left, at.y + row.top, at.x + row.right, at.y + row.bottom);
  }
}

}  // namespace halyard::soft
