// Where the user asked the window to open, in the X11 geometry form
// [=][WxH][{+-}X{+-}Y]: X and Y from the left and top, or after a minus sign
// from the right and bottom.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

struct PlacementGeometry {
  bool hasSize = false;  // a size was given (the clock's window has a fixed one)
  std::int32_t width = 0, height = 0;
  bool hasPosition = false;
  std::int32_t x = 0, y = 0;  // offsets, never negative after a minus sign
  bool fromRight = false, fromBottom = false;

  bool operator==(const PlacementGeometry&) const = default;

  // The top-left corner of a window of `size` in `area` (the outer size, frame
  // included, and the area the offsets count from).
  PixelPoint TopLeft(TextExtent size, const PixelRect& area) const;
};

// Reads the text as XParseGeometry does, with numbers of at most five digits
// (X coordinates are 16-bit); nullopt when it is not a geometry or names nothing.
std::optional<PlacementGeometry> ParsePlacementGeometry(std::string_view text);

}  // namespace halyard
