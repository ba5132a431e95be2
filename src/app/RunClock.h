#pragma once

#include <cstdint>

#include "platform/window/ClockWindowPlatform.h"

namespace halyard {

// The program's whole life: builds the window, loads the options, runs the
// clock until the window is gone. Always returns 0.
std::int32_t RunClock();
std::int32_t RunClock(ClockWindowPlatform& platform);

}  // namespace halyard
