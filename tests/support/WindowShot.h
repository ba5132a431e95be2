// What a screenshot of the clock's window shows, read from its pixels alone,
// for the program tests of both platforms at every resolution and scale.
// Each check says in words what is wrong, or nothing when all is well.
#pragma once

#include <cstdint>
#include <string>

#include "platform/canvas/Picture.h"

namespace halyard::testing {

// The time legend is the topmost ink of `face`; its text cell reaches down
// to row `cellBottom` (the font's cell below the legend's top, as the test
// measures the font). Names what else lies in the cell, within the columns
// of the legend's ink: the dial, a sector or a mark.
std::string WhatCrowdsTheLegend(const Picture& face, std::int32_t cellBottom);

// Names where the status text, the pixels of the status line `line` unlike
// its background (its bottom-left corner), is missing or reaches the edge of
// the line or of the window.
std::string WhereTheStatusTextIsCut(const Picture& window, const PixelRect& line);

// Names how `box` (a window with its frame) leaves `area` (the work area).
std::string HowItLeaves(const PixelRect& box, const PixelRect& area);

}  // namespace halyard::testing
