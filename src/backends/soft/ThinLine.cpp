#include "backends/soft/ThinLine.h"

#include <algorithm>

namespace halyard::soft {
namespace {

// The Bresenham walk of one diagonal line, in major/minor terms. At major
// step i the minor offset is n(i) = ceil((2*i*d + bias - len) / (2*len)),
// which is what the incremental error term produces; solving it directly lets
// the walk start where the line enters the picture.
struct Walk {
  std::int64_t len = 0;   // |major delta|: pixels plotted
  std::int64_t d = 0;     // |minor delta|
  std::int64_t bias = 0;  // 1 in octants 3, 5, 6 and 8

  std::int64_t MinorAt(std::int64_t i) const {
    const Wide num = 2 * static_cast<Wide>(i) * d + bias - len;
    return static_cast<std::int64_t>(CeilDiv(num, 2 * static_cast<Wide>(len)));
  }
  // First step in [lo, hi] whose minor offset reaches `target` (hi + 1 if none).
  std::int64_t FirstReaching(std::int64_t target, std::int64_t lo, std::int64_t hi) const {
    std::int64_t end = hi + 1;
    while (lo < end) {
      const std::int64_t mid = lo + (end - lo) / 2;
      if (MinorAt(mid) >= target) {
        end = mid;
      } else {
        lo = mid + 1;
      }
    }
    return end;
  }
};

// GDI numbers octants clockwise from +x with y pointing down; see LineTo's
// tie rule ("grid intersection quantization").
bool TakesBias(std::int64_t dx, std::int64_t dy) {
  int octant;
  if (dy > 0) {
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  } else {
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  }
  return octant == 3 || octant == 5 || octant == 6 || octant == 8;
}

// Steps [first, last] of major range such that major0 + i*dir lies in [low, high).
bool MajorRange(std::int64_t major0, int dir, std::int64_t low, std::int64_t high, std::int64_t len,
                std::int64_t& first, std::int64_t& last) {
  if (dir > 0) {
    first = std::max<std::int64_t>(0, low - major0);
    last = std::min(len - 1, high - 1 - major0);
  } else {
    first = std::max<std::int64_t>(0, major0 - (high - 1));
    last = std::min(len - 1, major0 - low);
  }
  return first <= last;
}

}  // namespace

void DrawThinLine(Point64 from, Point64 to, SpanPainter& painter) {
  if (from.y == to.y) {
    // Going left the span is shifted by one: it keeps the start, drops the end.
    if (from.x <= to.x) {
      painter.Span(from.y, from.x, to.x);
    } else {
      painter.Span(from.y, to.x + 1, from.x + 1);
    }
    return;
  }
  if (from.x == to.x) {
    if (from.y <= to.y) {
      painter.Rect(from.x, from.y, from.x + 1, to.y);
    } else {
      painter.Rect(from.x, to.y + 1, from.x + 1, from.y + 1);
    }
    return;
  }

  const std::int64_t dx = to.x - from.x;
  const std::int64_t dy = to.y - from.y;
  const bool xMajor = Abs64(dx) > Abs64(dy);
  const std::int64_t major0 = xMajor ? from.x : from.y;
  const std::int64_t minor0 = xMajor ? from.y : from.x;
  const int majorDir = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int minorDir = (xMajor ? dy : dx) > 0 ? 1 : -1;
  // Only the steps inside the clip are walked: a line replayed into a small
  // changed area costs that area, not its length.
  const std::int64_t majorLow = xMajor ? painter.ClipLeft() : painter.ClipTop();
  const std::int64_t majorHigh = xMajor ? painter.ClipRight() : painter.ClipBottom();
  const std::int64_t minorLow = xMajor ? painter.ClipTop() : painter.ClipLeft();
  const std::int64_t minorHigh = xMajor ? painter.ClipBottom() : painter.ClipRight();

  Walk walk;
  walk.len = Abs64(xMajor ? dx : dy);
  walk.d = Abs64(xMajor ? dy : dx);
  walk.bias = TakesBias(dx, dy) ? 1 : 0;

  std::int64_t first = 0;
  std::int64_t last = 0;
  if (!MajorRange(major0, majorDir, majorLow, majorHigh, walk.len, first, last)) return;
  // The minor offsets allowed by the clip, as a range of n.
  if (minorLow >= minorHigh) return;
  const std::int64_t nLow = minorDir > 0 ? minorLow - minor0 : minor0 - (minorHigh - 1);
  const std::int64_t nHigh = minorDir > 0 ? minorHigh - 1 - minor0 : minor0 - minorLow;
  first = walk.FirstReaching(nLow, first, last);
  last = walk.FirstReaching(nHigh + 1, first, last) - 1;
  if (first > last) return;

  std::int64_t n = walk.MinorAt(first);
  // The error term itself stays within a few times len; only its parts are wide.
  std::int64_t err = static_cast<std::int64_t>(2 * static_cast<Wide>(walk.d) - walk.len +
                                               2 * static_cast<Wide>(first) * walk.d -
                                               2 * static_cast<Wide>(n) * walk.len);
  std::int64_t major = major0 + majorDir * first;
  std::int64_t minor = minor0 + minorDir * n;
  const std::int64_t errDiagonal = 2 * walk.d - 2 * walk.len;
  const std::int64_t errStraight = 2 * walk.d;
  for (std::int64_t i = first; i <= last; ++i) {
    if (xMajor) {
      painter.PlotInside(major, minor);
    } else {
      painter.PlotInside(minor, major);
    }
    if (err + walk.bias > 0) {
      minor += minorDir;
      err += errDiagonal;
    } else {
      err += errStraight;
    }
    major += majorDir;
  }
}

}  // namespace halyard::soft
