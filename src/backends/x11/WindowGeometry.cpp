#include "backends/x11/WindowGeometry.h"

#include <algorithm>

namespace halyard {

PixelRect ControlPixels(const DialogUnits& units, const DialogRect& rect) {
  const std::int32_t x = units.ToPixelsX(rect.x);
  const std::int32_t y = units.ToPixelsY(rect.y);
  return {x, y, x + units.ToPixelsX(rect.cx), y + units.ToPixelsY(rect.cy)};
}

TextExtent ClientPixels(const DialogUnits& units, std::int32_t widthUnits, std::int32_t heightUnits) {
  return {units.ToPixelsX(widthUnits), units.ToPixelsY(heightUnits)};
}

PixelPoint CentredPosition(const TextExtent& size, const PixelRect& workArea) {
  const std::int32_t x = workArea.left + (workArea.right - workArea.left - size.width) / 2;
  const std::int32_t y = workArea.top + (workArea.bottom - workArea.top - size.height) / 2;
  return {std::max(x, workArea.left), std::max(y, workArea.top)};
}

}  // namespace halyard
