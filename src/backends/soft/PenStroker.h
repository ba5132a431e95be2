// Lines and outlines with a solid pen of any width, as GDI draws them.
//
// Width 1 is a chain of Bresenham lines. A wider pen is the union of a body
// for every segment and a round cap (or join, the same shape) on every point,
// and that union includes the end pixel. Because the pen paints one colour,
// the union is painted piece by piece instead of being built as a region.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "backends/soft/Point64.h"
#include "backends/soft/PolygonFiller.h"
#include "backends/soft/RoundRectRegion.h"
#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

class PenStroker {
 public:
  // Strokes the polyline; `closed` joins the last point back to the first.
  // `width` is the pen's width in pixels, at least 1.
  void Stroke(std::span<const Point64> points, bool closed, std::int64_t width,
              SpanPainter& painter);

 private:
  void Body(Point64 from, Point64 to, std::int64_t width, SpanPainter& painter);
  void Cap(Point64 at, std::int64_t width, SpanPainter& painter);

  PolygonFiller filler_;
  RoundRectRegion region_;
  // The cap of the last width used, relative to its point.
  std::vector<RegionRow> cap_;
  std::int64_t capWidth_ = 0;
  std::vector<RegionRow> farCap_;  // scratch for caps too large to keep
};

}  // namespace halyard::soft
