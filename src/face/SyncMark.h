// The mark a face carries while the system clock is not synchronised: a small
// amber label in the top-left corner, outside the dial and clear of the time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "face/DrawClock.h"
#include "face/FixedColors.h"

namespace halyard {

inline constexpr std::string_view kSyncMarkText = "NO SYNC";

// Where the mark goes on a face of geometry `face` whose time legend occupies
// `legend` (pixels): the top-left corner beside the legend, else below it;
// `markSize` is the mark's width and height. Empty when neither place is
// outside the dial.
PixelRect PlaceSyncMark(const FaceGeometry& face, const PixelRect& legend, TextExtent markSize);

// What the mark reads for a measured offset (the system clock minus the
// server, seconds), in UTF-8 with a true minus sign (U+2212): "+2.5 s",
// "+0.62 s", "+3 h".
std::string OffsetMarkText(double clockMinusServer);

// Draws the mark on the current canvas, whose font, colours and pen come back
// as they were. `legend` is where the time legend's text is; `text` is UTF-8.
void DrawSyncMark(const FaceGeometry& face, const PixelRect& legend, std::string_view text = kSyncMarkText);

}  // namespace halyard
