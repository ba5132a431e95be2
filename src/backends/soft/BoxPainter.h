// GDI's Rectangle, RoundRect and Ellipse on a normalised box.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas/Picture.h"
#include "backends/soft/PenStroker.h"
#include "backends/soft/Point64.h"
#include "backends/soft/RoundRectRegion.h"

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

  // Later boxes write only inside `clip`.
  void SetClip(const PixelRect& clip) { clip_ = clip; }

  // Colours are picture pixels (0x00RRGGBB); `penWidth` is at least 1.
  void Rectangle(Picture& picture, Box64 box, std::int64_t penWidth, std::uint32_t outline,
                 std::optional<std::uint32_t> fill);
  // Corners of 2 pixels or less give a Rectangle. Ellipse is RoundRect with
  // the box's own width and height as the corner.
  void RoundRect(Picture& picture, Box64 box, std::int64_t cornerWidth, std::int64_t cornerHeight,
                 std::int64_t penWidth, std::uint32_t outline, std::optional<std::uint32_t> fill);

 private:
  PenStroker& stroker_;
  PixelRect clip_{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  RoundRectRegion region_;
  std::vector<Point64> quadrant_;
  std::vector<Point64> outline_;
};

}  // namespace halyard::soft
