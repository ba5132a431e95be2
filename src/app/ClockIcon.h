#pragma once

#include <cstdint>
#include <memory>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

// The program's icon: the face with the default options at 10:10:30, drawn
// without text into `target` (square; the software rasterizer on every
// platform, so that the icon is the same everywhere).
Picture RenderClockIcon(std::unique_ptr<Rasterizer> target);

}  // namespace halyard
