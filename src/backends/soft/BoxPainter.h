// GDI's Rectangle, RoundRect and Ellipse on a normalised box.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas/Picture.h"
#include "backends/soft/PenStroker.h"
#include "backends/soft/Point64.h"
#include "backends/soft/RoundRectRegion.h"
#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

// A box covers columns [left, right) and rows [top, bottom), with
// left <= right and top <= bottom; an empty box draws nothing.
struct Box64 {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
};

class BoxPainter {
 public:
  explicit BoxPainter(PenStroker& stroker) : stroker_(stroker) {}

  // `penWidth` is at least 1; the brush (null: no fill) is painted first,
  // then the pen.
  void Rectangle(Box64 box, std::int64_t penWidth, SpanPainter* brush, SpanPainter& pen);
  // Corners of 2 pixels or less give a Rectangle. Ellipse is RoundRect with
  // the box's own width and height as the corner.
  void RoundRect(Box64 box, std::int64_t cornerWidth, std::int64_t cornerHeight, std::int64_t penWidth,
                 SpanPainter* brush, SpanPainter& pen);

 private:
  PenStroker& stroker_;
  RoundRectRegion region_;
  std::vector<Point64> quadrant_;
  std::vector<Point64> outline_;
};

}  // namespace halyard::soft
