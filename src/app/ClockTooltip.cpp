#include "app/ClockTooltip.h"

#include "app/ClockWindowHandler.h"

namespace halyard {

std::vector<std::string> ClockTooltipLines(const SyncHealth& sync) { return {"System clock: " + sync.line}; }

std::vector<std::string> CurrentClockTooltipLines() {
  return ClockTooltipLines(ClockSyncMonitor().Health(std::chrono::steady_clock::now()));
}

}  // namespace halyard
