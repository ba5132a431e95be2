// GDI's round-rectangle region (CreateRoundRectRgn), the inside of RoundRect
// and Ellipse and the shape of a wide pen's round caps and joins.
#pragma once

#include <cstdint>
#include <vector>

#include "backends/soft/SpanPainter.h"

namespace halyard::soft {

// Columns [left, right) of rows [top, bottom).
struct RegionRow {
  std::int64_t top = 0;
  std::int64_t bottom = 0;
  std::int64_t left = 0;
  std::int64_t right = 0;
};

class RoundRectRegion {
 public:
  // Appends to `rows` the rows of CreateRoundRectRgn(left, top, right, bottom,
  // cornerWidth, cornerHeight) that meet rows [clipTop, clipBottom). As in GDI
  // the region leaves out the last column and row of the rectangle, and a
  // corner under 2 pixels gives a plain rectangle. Rows may be empty.
  void Build(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
             std::int64_t cornerWidth, std::int64_t cornerHeight, std::int64_t clipTop,
             std::int64_t clipBottom, std::vector<RegionRow>& rows);

  // Builds the region for the painter's picture and paints it.
  void Paint(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
             std::int64_t cornerWidth, std::int64_t cornerHeight, SpanPainter& painter);

 private:
  std::int64_t Inset(std::int64_t k) const;

  // Insets of the lower half of the corner ellipse, row by row from its middle.
  std::vector<std::int64_t> insets_;
  bool sampled_ = false;
  std::int64_t cornerWidth_ = 0;
  std::int64_t cornerHeight_ = 0;
  std::vector<RegionRow> rows_;
};

}  // namespace halyard::soft
