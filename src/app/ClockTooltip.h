// What the tooltip over the face says: one line per fact, first the state of
// the system clock.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "face/DrawClock.h"
#include "platform/time/SyncHealth.h"

namespace halyard {

std::vector<std::string> ClockTooltipLines(const SyncHealth& sync);
// The same, then the silent period in force at `utc` or the next one.
std::vector<std::string> ClockTooltipLines(const SyncHealth& sync, const ClockTime& utc, std::string_view unit);

// The lines for now, from the handler's monitor; the windows' tooltip provider.
std::vector<std::string> CurrentClockTooltipLines();

}  // namespace halyard
