#include "backends/soft/EllipseOutline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "backends/soft/EllipseWalk.h"

namespace halyard::soft {
namespace {

void ExactQuadrant(std::int64_t width, std::int64_t height, std::vector<Point64>& out) {
  EllipseWalk walk(width, height);
  Point64 p{width - 1, height / 2};
  while (p.x >= width / 2) {
    out.push_back(p);
    const EllipseWalk::Step step = walk.Next();
    if (step.x) --p.x;
    if (step.y) ++p.y;
  }
}

// Same frame and end points as the exact quadrant, from the parametric form.
void SampledQuadrant(std::int64_t width, std::int64_t height, std::vector<Point64>& out) {
  const std::int64_t cx = width / 2;
  const std::int64_t cy = height / 2;
  const double rx = static_cast<double>(width - 1 - cx);
  const double ry = static_cast<double>(height - 1 - cy);
  // Enough steps that a chord strays well under a pixel from the curve.
  const double radius = std::max(rx, ry);
  const auto steps = static_cast<std::int64_t>(
      std::clamp(std::ceil(2.0 * std::sqrt(radius)), 16.0, static_cast<double>(kExactCurveLimit)));
  for (std::int64_t i = 0; i <= steps; ++i) {
    const double angle = std::numbers::pi / 2 * static_cast<double>(i) / static_cast<double>(steps);
    out.push_back({cx + std::llround(rx * std::cos(angle)), cy + std::llround(ry * std::sin(angle))});
  }
}

}  // namespace

void EllipseQuadrant(std::int64_t width, std::int64_t height, std::vector<Point64>& out) {
  out.clear();
  if (width <= kExactCurveLimit && height <= kExactCurveLimit) {
    ExactQuadrant(width, height, out);
  } else {
    SampledQuadrant(width, height, out);
  }
}

void RoundRectOutline(std::int64_t left, std::int64_t top, std::int64_t right,
                      std::int64_t bottom, std::int64_t cornerWidth, std::int64_t cornerHeight,
                      std::vector<Point64>& quadrant, std::vector<Point64>& out) {
  EllipseQuadrant(cornerWidth, cornerHeight, quadrant);
  out.clear();
  for (const Point64& q : quadrant) {
    out.push_back({right - cornerWidth + q.x, top + cornerHeight - 1 - q.y});
  }

  // Mirror left-right, then top-bottom, each time in reverse order so the
  // path stays continuous. An odd corner as wide as the box has a middle
  // point that is its own mirror; it is not repeated.
  std::size_t count = out.size();
  std::size_t end = 2 * count - 1;
  if (cornerWidth % 2 != 0 && cornerWidth == right - left) --end;
  out.resize(end + 1);
  for (std::size_t i = 0; i < count; ++i) out[end - i] = {left + right - 1 - out[i].x, out[i].y};

  count = end + 1;
  end = 2 * count - 1;
  if (cornerHeight % 2 != 0 && cornerHeight == bottom - top) --end;
  out.resize(end + 1);
  for (std::size_t i = 0; i < count; ++i) out[end - i] = {out[i].x, top + bottom - 1 - out[i].y};
}

}  // namespace halyard::soft
