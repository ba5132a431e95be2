// The mark a face carries while the system clock is not synchronised: a small
// amber label in the top-left corner, outside the dial and clear of the time.
#pragma once

#include <cstdint>
#include <string_view>

#include "face/DrawClock.h"

namespace halyard {

// Fixed, not options: amber reads on a black face and, with its dark edge, on a white one.
inline constexpr std::int32_t kSyncMarkAmber = 0x00B4FF;  // COLORREF of #FFB400
inline constexpr std::int32_t kSyncMarkInk = 0x000000;
inline constexpr std::string_view kSyncMarkText = "NO SYNC";

// Where the mark goes on a face of geometry `face` whose time legend occupies
// `legend` (pixels): the top-left corner beside the legend, else below it;
// `markSize` is the mark's width and height. Empty when neither place is
// outside the dial.
PixelRect PlaceSyncMark(const FaceGeometry& face, const PixelRect& legend, TextExtent markSize);

// Draws the mark on the current canvas, whose font, colours and pen come back
// as they were. `legend` is where the time legend's text is.
void DrawSyncMark(const FaceGeometry& face, const PixelRect& legend);

}  // namespace halyard
