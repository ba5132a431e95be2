// The resolution the clock lays itself out for once the scale setting (and,
// when the window would not fit its monitor, the fit-screen setting) has
// had its say. Every size follows from that one resolution, so a scaled
// window is drawn afresh at its size, never stretched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/canvas/Picture.h"
#include "platform/canvas/Rasterizer.h"

namespace halyard {

// `dpi` times `scale`, rounded, within kMinimumDpi..kMaximumDpi.
std::int32_t ScaledDpi(std::int32_t dpi, double scale);

// The largest resolution from `least` to `wanted` at which `outerSize` (the
// window with its frame) fits in `room`; `least` when none does. Fit-screen
// goes down to kMinimumDpi, below the scale setting's least, so that even a
// desktop of 500 dpi gets a window on its screen.
std::int32_t FittingDpi(std::int32_t wanted, std::int32_t least, TextExtent room,
                        const std::function<TextExtent(std::int32_t dpi)>& outerSize);

// The one line fit-screen prints when it made the window smaller.
std::string FitScreenNote(double scale, std::int32_t screenDpi, std::int32_t fittingDpi, TextExtent room);

}  // namespace halyard
