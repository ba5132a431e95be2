#pragma once

#include <cstdint>

#include "platform/canvas/Picture.h"

namespace halyard {

// The program's icon: the face with the default options at 10:10:30, drawn by
// the software rasterizer without text so that it is the same on every platform.
Picture RenderClockIcon(std::int32_t size);

}  // namespace halyard
