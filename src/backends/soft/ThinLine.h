// GDI's one-pixel solid line: the start pixel is drawn, the end pixel is not.
#pragma once

#include "backends/soft/Point64.h"
#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

// Horizontal and vertical lines are spans; any other direction is Bresenham
// over the major axis with GDI's octant bias, so that a pixel half-way between
// two rows (or columns) always goes to the smaller coordinate and reversing a
// line changes only which endpoint is left out. Only the part of the line
// inside the picture is walked.
void DrawThinLine(Point64 from, Point64 to, SpanPainter& painter);

}  // namespace halyard::soft
