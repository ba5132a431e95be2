#include "face/DialClearance.h"

#include <algorithm>
#include <cstdint>

namespace halyard {

std::int32_t DialClearance(const FaceGeometry& face) { return face.radius + 5; }

bool OutsideDial(const FaceGeometry& face, const PixelRect& box) {
  // The point of the box nearest the centre.
  const std::int64_t nearX = std::clamp(face.centerX, box.left, box.right);
  const std::int64_t nearY = std::clamp(face.centerY, box.top, box.bottom);
  const std::int64_t dx = nearX - face.centerX;
  const std::int64_t dy = nearY - face.centerY;
  const std::int64_t clear = DialClearance(face);
  return dx * dx + dy * dy > clear * clear;
}

}  // namespace halyard
