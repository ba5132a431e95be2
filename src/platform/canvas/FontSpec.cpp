#include "platform/canvas/FontSpec.h"

#include "platform/canvas/RoundHalfEven.h"

namespace halyard {

std::int32_t FontPixelHeight(float points, std::int32_t dpi) {
  const long double size = points == 0 ? 8.0L : static_cast<long double>(points);
  return -RoundHalfEven(static_cast<long double>(dpi) * size / 72.0L);
}

FontSpec ClockFontSpec() {
  FontSpec spec;
  spec.face = "Arial";
  spec.points = 20;
  spec.style = FontSpec::kBold;
  return spec;
}

}  // namespace halyard
