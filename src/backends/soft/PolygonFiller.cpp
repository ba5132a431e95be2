#include "backends/soft/PolygonFiller.h"

#include <algorithm>

namespace halyard::soft {

void PolygonFiller::AddEdge(Point64 from, Point64 to, std::int64_t rowFirst, std::int64_t rowLimit) {
  if (from.y == to.y) return;
  const bool down = to.y > from.y;
  const Point64 top = down ? from : to;
  const Point64 bottom = down ? to : from;
  const std::int64_t first = std::max(top.y, rowFirst);
  const std::int64_t last = std::min(bottom.y, rowLimit);
  if (first >= last) return;

  Edge edge;
  edge.yTop = first;
  edge.yBottom = last;
  edge.dy = bottom.y - top.y;
  edge.winding = down ? 1 : -1;
  const std::int64_t dx = bottom.x - top.x;
  // Start where the edge enters the rows drawn, from the exact crossing there.
  const Wide num = static_cast<Wide>(first - top.y) * dx;
  const Wide q = FloorDiv(num, edge.dy);
  edge.xFloor = top.x + static_cast<std::int64_t>(q);
  edge.rem = static_cast<std::int64_t>(num - q * edge.dy);
  const Wide stepQ = FloorDiv(dx, edge.dy);
  edge.stepFloor = static_cast<std::int64_t>(stepQ);
  edge.stepRem = static_cast<std::int64_t>(dx - stepQ * edge.dy);
  edges_.push_back(edge);
}

void PolygonFiller::Fill(std::span<const Point64> points, FillRule rule, SpanPainter& painter) {
  if (points.size() < 2 || painter.Width() <= 0) return;
  edges_.clear();
  // Each row's crossings are exact whatever row the edges start from, so rows
  // outside the clip are not walked at all.
  const std::int64_t first = painter.ClipTop();
  const std::int64_t limit = painter.ClipBottom();
  Point64 previous = points.back();
  for (const Point64& point : points) {
    AddEdge(previous, point, first, limit);
    previous = point;
  }
  if (edges_.empty()) return;
  std::sort(edges_.begin(), edges_.end(),
            [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });

  active_.clear();
  std::size_t next = 0;
  std::int64_t y = edges_.front().yTop;
  while (next < edges_.size() || !active_.empty()) {
    if (active_.empty()) y = std::max(y, edges_[next].yTop);
    while (next < edges_.size() && edges_[next].yTop == y) {
      active_.push_back(static_cast<std::uint32_t>(next++));
    }

    crossings_.clear();
    for (std::uint32_t index : active_) crossings_.push_back({edges_[index].X(), edges_[index].winding});
    // Few edges cross a row, and they stay nearly sorted from row to row.
    for (std::size_t i = 1; i < crossings_.size(); ++i) {
      const Crossing c = crossings_[i];
      std::size_t j = i;
      for (; j > 0 && crossings_[j - 1].x > c.x; --j) crossings_[j] = crossings_[j - 1];
      crossings_[j] = c;
    }

    // A pixel is inside when the crossings at or left of it give a non-zero
    // winding number (or an odd count); ties in x therefore do not matter.
    int count = 0;
    std::int64_t spanStart = 0;
    for (const Crossing& c : crossings_) {
      const bool wasInside = rule == FillRule::Winding ? count != 0 : (count & 1) != 0;
      count += rule == FillRule::Winding ? c.winding : 1;
      const bool isInside = rule == FillRule::Winding ? count != 0 : (count & 1) != 0;
      if (!wasInside && isInside) {
        spanStart = c.x;
      } else if (wasInside && !isInside) {
        painter.Span(y, spanStart, c.x);
      }
    }

    ++y;
    std::size_t kept = 0;
    for (std::uint32_t index : active_) {
      Edge& edge = edges_[index];
      if (edge.yBottom <= y) continue;
      edge.Step();
      active_[kept++] = index;
    }
    active_.resize(kept);
  }
}

}  // namespace halyard::soft
