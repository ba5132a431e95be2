#pragma once

#include <cstdint>
#include <memory>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

// The program's icon with the default colours at 10:10, without text so that
// it is the same on every platform, as big as `target` (square). From 100
// pixels up it is the face itself, drawn into `target` (the software
// rasterizer on every platform); smaller, a simplified face drawn for the
// size (rim, the four silent-period sectors, two hands), smoothed.
Picture RenderClockIcon(std::unique_ptr<Rasterizer> target);

}  // namespace halyard
