#include "platform/canvas/DrawingBoxTrim.h"

namespace halyard {

const std::int64_t kDrawingBoxTrim = 0;

}  // namespace halyard
