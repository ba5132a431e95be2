// The outline points of GDI's RoundRect and Ellipse.
#pragma once

#include <cstdint>
#include <vector>

#include "backends/soft/Point64.h"

namespace halyard::soft {

// Corner ellipses up to this size follow GDI's integer recurrence exactly.
// Larger ones (far bigger than any picture) are sampled instead, which keeps
// time and memory bounded and the 64-bit error terms from overflowing.
inline constexpr std::int64_t kExactCurveLimit = std::int64_t{1} << 14;

// The first quadrant of a width x height ellipse by the integer midpoint
// recurrence (Zingl's form), counter-clockwise from the x axis: x runs from
// width-1 down to width/2 and y from height/2 up to height-1.
void EllipseQuadrant(std::int64_t width, std::int64_t height, std::vector<Point64>& out);

// The closed outline of RoundRect(left, top, right, bottom) with a corner
// ellipse of cornerWidth x cornerHeight (both at least 3 and at most the box),
// counter-clockwise from the right end of the top-right corner: the first
// quadrant is placed in that corner and mirrored across both axes. `quadrant`
// is scratch space.
void RoundRectOutline(std::int64_t left, std::int64_t top, std::int64_t right,
                      std::int64_t bottom, std::int64_t cornerWidth, std::int64_t cornerHeight,
                      std::vector<Point64>& quadrant, std::vector<Point64>& out);

}  // namespace halyard::soft
