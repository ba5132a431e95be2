// Where the clock's window and its controls go, in pixels.
#pragma once

#include <cstdint>

#include "platform/window/DialogUnits.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

// A control's rectangle: x, y, width and height each converted on its own, as
// a dialog template's items are, so a control may end a pixel short of the
// next one's start (the window background shows there).
PixelRect ControlPixels(const DialogUnits& units, const DialogRect& rect);

// The client area of a window of the given size in units.
TextExtent ClientPixels(const DialogUnits& units, std::int32_t widthUnits, std::int32_t heightUnits);

// Top-left corner that centres `size` in `workArea`, kept inside it when the
// window is larger than the area.
PixelPoint CentredPosition(const TextExtent& size, const PixelRect& workArea);

}  // namespace halyard
