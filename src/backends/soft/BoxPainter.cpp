#include "backends/soft/BoxPainter.h"

#include <algorithm>
#include <array>

#include "backends/soft/EllipseOutline.h"
#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

void BoxPainter::Rectangle(Box64 box, std::int64_t penWidth, SpanPainter* brush, SpanPainter& pen) {
  if (box.left >= box.right || box.top >= box.bottom) return;
  // The pen runs along the last column and row inside the box, so the drawn
  // rectangle leaves out the box's right and bottom edges.
  const std::int64_t right = box.right - 1;
  const std::int64_t bottom = box.bottom - 1;
  if (brush != nullptr) {
    // A thin pen leaves its own pixels out of the brush; a wide one is
    // painted over the brush afterwards, which comes to the same.
    if (penWidth <= 1) {
      brush->Rect(box.left + 1, box.top + 1, right, bottom);
    } else {
      brush->Rect(box.left, box.top, right, bottom);
    }
  }
  const std::array<Point64, 4> path{{{right, box.top}, {box.left, box.top}, {box.left, bottom},
                                     {right, bottom}}};
  stroker_.Stroke(path, true, penWidth, pen);
}

void BoxPainter::RoundRect(Box64 box, std::int64_t cornerWidth, std::int64_t cornerHeight, std::int64_t penWidth,
                           SpanPainter* brush, SpanPainter& pen) {
  if (box.left >= box.right || box.top >= box.bottom) return;
  const std::int64_t ew = std::min(box.right - box.left, Abs64(cornerWidth));
  const std::int64_t eh = std::min(box.bottom - box.top, Abs64(cornerHeight));
  if (ew <= 2 || eh <= 2) {
    Rectangle(box, penWidth, brush, pen);
    return;
  }
  if (brush != nullptr) {
    // One row and column wider than the box, because the region leaves its
    // last ones out: the brush then reaches the outline, never past it.
    region_.Paint(box.left, box.top, box.right + 1, box.bottom + 1, ew, eh, *brush);
  }
  RoundRectOutline(box.left, box.top, box.right, box.bottom, ew, eh, quadrant_, outline_);
  stroker_.Stroke(outline_, true, penWidth, pen);
}

}  // namespace halyard::soft
