// What must keep clear of the dial: the marks, the sectors and the hands all
// lie within a circle a few pixels beyond the dial's radius.
#pragma once

#include "face/DrawClock.h"

namespace halyard {

// The radius of that circle: the outer marks (hour marks reach three pixels
// beyond the dial's radius) and a pixel of air.
std::int32_t DialClearance(const FaceGeometry& face);

// True when no pixel of `box` comes within that circle.
bool OutsideDial(const FaceGeometry& face, const PixelRect& box);

}  // namespace halyard
