#pragma once

#include "options/ClockOptions.h"
#include "platform/window/ClockWindowPlatform.h"

namespace halyard {

// Builds the hidden window with its face and label, and prepares the face's
// canvas (colours, font, pixel scale) and the label's font and the window's
// colours from `options`. Returns null if the window could not be made.
// Shared by the clock and the off-screen renderer, so both look the same.
WindowHandle PrepareClockWindow(ClockWindowPlatform& platform, const ClockOptions& options);

}  // namespace halyard
