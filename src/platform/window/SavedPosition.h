// The window position kept between runs (remember-position): the text of the
// state file, and the check that a position read back is still on a monitor.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

// The file holds one line, "x y" in decimal: the top-left corner of the window's frame.
inline constexpr std::size_t kMaxSavedPositionBytes = 64;
std::string SavedPositionText(PixelPoint where);
// Nullopt for anything else: another format, a number beyond a million, more than one line.
std::optional<PixelPoint> ParseSavedPosition(std::string_view text);

// `where` when the window of `size` there shows at least a corner of 32x32
// pixels (less for a smaller window) on one of `monitors`; else the nearest
// position that puts the whole window on the monitor nearest to it (its top
// left corner on it, if the window is larger). With no monitors, `where`.
PixelPoint VisiblePosition(PixelPoint where, TextExtent size, std::span<const PixelRect> monitors);

}  // namespace halyard
