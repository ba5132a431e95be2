#pragma once

#include <cstdint>

#include "options/ClockConfiguration.h"
#include "platform/window/ClockWindowPlatform.h"

namespace halyard {

// The program's whole life after start-up: builds the window with the
// configuration's options and settings, runs the clock until the window is
// gone. Always returns 0.
std::int32_t RunClock(ClockWindowPlatform& platform, const ClockConfiguration& configuration);

}  // namespace halyard
