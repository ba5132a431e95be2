// When the next clock tick should fall: just after a half-second boundary of
// the wall clock, so that a new second shows within milliseconds of its start.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/time/TimeSource.h"

namespace halyard {

inline constexpr std::chrono::milliseconds kTickPeriod{500};
inline constexpr std::chrono::milliseconds kTickMargin{3};

// Time from `now` to `margin` past the next half-second boundary. A tick that
// woke a little early (within the margin) goes to the following boundary, so
// the result lies in (margin, period + margin] and ticks never bunch up.
std::chrono::milliseconds DelayToNextTick(std::chrono::sys_time<std::chrono::milliseconds> now,
                                          std::chrono::milliseconds margin = kTickMargin);

// The same, measured on the clock the time text is read from.
std::chrono::milliseconds DelayToNextTick(SystemClock& clock);

// How far past its half-second boundary an instant lies: 0 to 499 ms.
std::chrono::milliseconds OffsetPastHalfSecond(std::chrono::sys_time<std::chrono::milliseconds> now);

}  // namespace halyard
