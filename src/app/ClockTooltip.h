// What the tooltip over the face says: one line per fact, first the state of
// the system clock.
#pragma once

#include <string>
#include <vector>

#include "platform/time/SyncHealth.h"

namespace halyard {

std::vector<std::string> ClockTooltipLines(const SyncHealth& sync);

// The lines for now, from the handler's monitor; the windows' tooltip provider.
std::vector<std::string> CurrentClockTooltipLines();

}  // namespace halyard
