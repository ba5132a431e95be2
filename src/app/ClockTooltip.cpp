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
  std::vector<std::string> lines =
      shown ? ClockTooltipLines(sync, *shown, CurrentClockOptions().FrequencyUnit) : ClockTooltipLines(sync);
  // The measured offset follows what the system says of its clock.
  if (OffsetMonitor* offset = ClockOffsetMonitor()) {
    lines.insert(lines.begin() + 1, OffsetStatusLine(offset->Status(), std::chrono::steady_clock::now()));
  }
  if (const SecondTime* second = shown ? ShownSecondTime() : nullptr) lines.push_back(second->TooltipLine());
  return lines;
}

}  // namespace halyard
