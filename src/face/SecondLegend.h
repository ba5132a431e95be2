// The second time's legend on the face, "15:05:09 CET": in the dial colour,
// smaller than the UTC legend, below the dial, where it never meets the dial,
// the hands or the sync mark.
#pragma once

#include <string_view>

#include "face/DrawClock.h"

namespace halyard {

// The legend's size when the face has room for it; it shrinks where it has not.
inline constexpr float kSecondLegendPoints = 14;

// Where a legend of `size` pixels goes on a face of geometry `face`: centred
// in the band below the dial, else in a bottom corner clear of the dial.
// Empty when neither has room.
PixelRect PlaceSecondLegend(const FaceGeometry& face, TextExtent size);

// Draws `legend` on the current canvas in its colours, at the largest size up
// to kSecondLegendPoints that has a place; the font comes back as it was.
void DrawSecondLegend(const FaceGeometry& face, std::string_view legend);

}  // namespace halyard
