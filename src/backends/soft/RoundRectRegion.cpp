#include "backends/soft/RoundRectRegion.h"

#include <algorithm>
#include <cmath>

#include "backends/soft/EllipseOutline.h"
#include "backends/soft/EllipseWalk.h"

namespace halyard::soft {

std::int64_t RoundRectRegion::Inset(std::int64_t k) const {
  if (!sampled_) return insets_[static_cast<std::size_t>(k)];
  // Huge corners only: the inset of the ideal ellipse at the row's middle.
  const double a = static_cast<double>(cornerWidth_) / 2;
  const double b = static_cast<double>(cornerHeight_) / 2;
  const double v = (static_cast<double>(k) + 0.5) / b;
  const double inset = a - a * std::sqrt(std::max(0.0, 1 - v * v));
  return std::clamp<std::int64_t>(std::llround(inset), 0, cornerWidth_ / 2 + 1);
}

void RoundRectRegion::Build(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, std::int64_t cornerWidth,
                            std::int64_t cornerHeight, std::int64_t clipTop,
                            std::int64_t clipBottom, std::vector<RegionRow>& rows) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  --right;
  --bottom;
  const std::int64_t ew = std::min(right - left, Abs64(cornerWidth));
  const std::int64_t eh = std::min(bottom - top, Abs64(cornerHeight));
  if (ew < 2 || eh < 2) {
    const std::int64_t y0 = std::max(top, clipTop);
    const std::int64_t y1 = std::min(bottom, clipBottom);
    if (y0 < y1 && left < right) rows.push_back({y0, y1, left, right});
    return;
  }

  const std::int64_t half = eh / 2;
  const std::int64_t lowerRows = eh - half;
  cornerWidth_ = ew;
  cornerHeight_ = eh;
  sampled_ = ew > kExactCurveLimit || eh > kExactCurveLimit;
  if (!sampled_) {
    // The same recurrence as the outline, walked from the middle row outwards;
    // each row keeps the inset reached when the walk moved onto it.
    insets_.assign(static_cast<std::size_t>(lowerRows), 0);
    EllipseWalk walk(ew, eh);
    std::int64_t x = 0;
    std::int64_t k = 0;
    while (x <= ew / 2) {
      const EllipseWalk::Step step = walk.Next();
      if (step.x) ++x;
      if (step.y && ++k < lowerRows) insets_[static_cast<std::size_t>(k)] = x;
    }
    // A corner much taller than wide ends its walk before the last rows, and
    // so does its outline; those rows stay empty rather than undefined.
    for (++k; k < lowerRows; ++k) insets_[static_cast<std::size_t>(k)] = x;
  }

  auto emit = [&](std::int64_t y0, std::int64_t y1, std::int64_t inset) {
    y0 = std::max(y0, clipTop);
    y1 = std::min(y1, clipBottom);
    if (y0 < y1) rows.push_back({y0, y1, left + inset, right - inset});
  };
  // Upper corner rows mirror the lower ones; only rows inside the clip are visited.
  const std::int64_t upperFirst = std::clamp<std::int64_t>(clipTop - top, 0, half);
  const std::int64_t upperLast = std::clamp<std::int64_t>(clipBottom - top, 0, half);
  for (std::int64_t i = upperFirst; i < upperLast; ++i) emit(top + i, top + i + 1, Inset(eh - 1 - i - half));
  // The middle row stretches over the straight sides.
  emit(top + half, bottom - eh + half + 1, 0);
  const std::int64_t lowerBase = bottom - eh;
  const std::int64_t lowerFirst = std::clamp<std::int64_t>(clipTop - lowerBase, half + 1, eh);
  const std::int64_t lowerLast = std::clamp<std::int64_t>(clipBottom - lowerBase, half + 1, eh);
  for (std::int64_t i = lowerFirst; i < lowerLast; ++i) {
    emit(lowerBase + i, lowerBase + i + 1, Inset(i - half));
  }
}

void RoundRectRegion::Paint(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, std::int64_t cornerWidth,
                            std::int64_t cornerHeight, SpanPainter& painter) {
  rows_.clear();
  Build(left, top, right, bottom, cornerWidth, cornerHeight, 0, painter.Height(), rows_);
  for (const RegionRow& row : rows_) painter.Rect(row.left, row.top, row.right, row.bottom);
}

}  // namespace halyard::soft
