// Which silent period is in force at a UTC time, or which comes next, and
// when: what the tooltip, the countdown and the alert are told.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "options/SilentPeriod.h"

namespace halyard {

struct SilentPeriodTiming {
  SilentPeriod period = SilentPeriod::None;  // in force, or the next one; never None
  bool inForce = false;
  // When it ends (in force) or starts (next), as a UTC time of day.
  std::int32_t boundaryHour = 0;
  std::int32_t boundaryMinute = 0;
  // Seconds from the given time to that boundary: 1 to 720.
  std::int32_t secondsToBoundary = 0;
  // Seconds since the period in force began; 0 when none is.
  std::int32_t secondsIntoPeriod = 0;

  bool operator==(const SilentPeriodTiming&) const = default;
};

// The periods are the schedule's (SilentPeriodAt), whole minutes of every
// hour. Fields out of range are taken modulo a day.
SilentPeriodTiming NextSilentPeriod(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);

// "Next: SILENT 500 <unit> CW at 14:15 UTC, in 4:12", or in a period
// "SILENT 2182 <unit> PH until 14:33 UTC, 2:10 left".
std::string SilentPeriodTooltipLine(const SilentPeriodTiming& timing, std::string_view unit);

}  // namespace halyard
