#include "app/ClockTooltip.h"

#include "app/ClockWindowHandler.h"
#include "face/NextSilentPeriod.h"

namespace halyard {

std::vector<std::string> ClockTooltipLines(const SyncHealth& sync) { return {"System clock: " + sync.line}; }

std::vector<std::string> ClockTooltipLines(const SyncHealth& sync, const ClockTime& utc, std::string_view unit) {
  std::vector<std::string> lines = ClockTooltipLines(sync);
  lines.push_back(SilentPeriodTooltipLine(NextSilentPeriod(utc.hours, utc.minutes, utc.seconds), unit));
  return lines;
}

std::vector<std::string> CurrentClockTooltipLines() {
  const SyncHealth sync = ClockSyncMonitor().Health(std::chrono::steady_clock::now());
  // The time the face shows, so that the tooltip and the face agree.
  const std::optional<ClockTime> shown = ShownClockTime();
  if (!shown) return ClockTooltipLines(sync);
  return ClockTooltipLines(sync, *shown, CurrentClockOptions().FrequencyUnit);
}

}  // namespace halyard
