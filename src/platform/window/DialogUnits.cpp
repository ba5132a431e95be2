#include "platform/window/DialogUnits.h"

#include <cstdlib>

namespace halyard {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = std::llabs(c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

static std::int32_t NearestUnitHalfUp(std::int32_t pixels, std::int32_t unitsPer, std::int32_t base) {
  // units = pixels * unitsPer / base, rounded to nearest with halves upward.
  const std::int64_t num = static_cast<std::int64_t>(pixels) * unitsPer * 2 + base;
  const std::int64_t den = static_cast<std::int64_t>(base) * 2;
  std::int64_t q = num / den;
  if ((num % den != 0) && ((num < 0) != (den < 0))) --q;  // floor
  return static_cast<std::int32_t>(q);
}

std::int32_t DialogUnits::ToUnitsX(std::int32_t pixels) const {
  return baseX <= 0 ? 0 : NearestUnitHalfUp(pixels, 4, baseX);
}
std::int32_t DialogUnits::ToUnitsY(std::int32_t pixels) const {
  return baseY <= 0 ? 0 : NearestUnitHalfUp(pixels, 8, baseY);
}

PixelRect DialogUnits::ToPixels(const DialogRect& rect) const {
  const std::int32_t x = ToPixelsX(rect.x);
  const std::int32_t y = ToPixelsY(rect.y);
  return {x, y, x + ToPixelsX(rect.cx), y + ToPixelsY(rect.cy)};
}

DialogUnits DialogUnits::ForDpi(std::int32_t dpi) {
  if (dpi <= 0) dpi = kDefaultDpi;
  return {MulDiv(kBaseXAtDefaultDpi, dpi, kDefaultDpi), MulDiv(kBaseYAtDefaultDpi, dpi, kDefaultDpi)};
}

}  // namespace halyard
