// Linked into halyard-shrunken-boxes-test in place of the clock's own value:
// drawing boxes three pixels short of what the pens write, which the test of
// partial repaints against full ones must notice and fail on.
#include "platform/canvas/DrawingBoxTrim.h"

namespace halyard {

const std::int64_t kDrawingBoxTrim = 3;

}  // namespace halyard
