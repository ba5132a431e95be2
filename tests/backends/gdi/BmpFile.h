// Pictures saved as BMP files, so that a failed pixel comparison can be looked at.
#pragma once

#include <filesystem>

#include "platform/canvas/Picture.h"

namespace halyard::testing {

// Writes a 32-bpp top-down BI_RGB BMP, the layout Picture already has in memory.
bool WriteBmp(const Picture& picture, const std::filesystem::path& path);

}  // namespace halyard::testing
