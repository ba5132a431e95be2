// Scan conversion with GDI's fill convention, shared by polygons and the
// bodies of wide pens.
//
// Rows run over [ymin, ymax); an edge is active on rows top.y <= y < bottom.y
// and horizontal edges are ignored. On each row an edge crosses at
// ceil(exact x), and a span covers [xLeft, xRight). So left and top borders
// are inside, right and bottom borders are not, and polygons that share an
// edge neither overlap nor leave a gap.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas/Rasterizer.h"
#include "backends/soft/Point64.h"
#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

class PolygonFiller {
 public:
  // Fills the closed polygon (the last point joins the first). Only rows and
  // columns inside the painter's picture cost any time.
  void Fill(std::span<const Point64> points, FillRule rule, SpanPainter& painter);

 private:
  struct Edge {
    std::int64_t yTop = 0;     // first row, already clipped to the picture
    std::int64_t yBottom = 0;  // one past the last row, clipped
    std::int64_t xFloor = 0;   // floor of the exact crossing on the current row
    std::int64_t rem = 0;      // exact crossing = xFloor + rem / dy, 0 <= rem < dy
    std::int64_t stepFloor = 0;
    std::int64_t stepRem = 0;
    std::int64_t dy = 0;
    int winding = 0;           // +1 going down, -1 going up
    std::int64_t X() const { return xFloor + (rem > 0 ? 1 : 0); }
    void Step() {
      xFloor += stepFloor;
      rem += stepRem;
      if (rem >= dy) {
        rem -= dy;
        ++xFloor;
      }
    }
  };
  struct Crossing {
    std::int64_t x = 0;
    int winding = 0;
  };

  // Keeps the part of the edge on rows [rowFirst, rowLimit).
  void AddEdge(Point64 from, Point64 to, std::int64_t rowFirst, std::int64_t rowLimit);

  // Kept between calls so that filling allocates nothing once warm.
  std::vector<Edge> edges_;
  std::vector<std::uint32_t> active_;
  std::vector<Crossing> crossings_;
};

}  // namespace halyard::soft
