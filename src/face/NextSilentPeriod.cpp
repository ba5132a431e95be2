#include "face/NextSilentPeriod.h"

#include <cstdio>

namespace halyard {
namespace {

constexpr std::int32_t kSecondsPerDay = 24 * 60 * 60;

void AppendHourAndMinute(std::string& text, std::int32_t hour, std::int32_t minute) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", static_cast<int>(hour), static_cast<int>(minute));
  text.append(buffer);
}

}  // namespace

SilentPeriodTiming NextSilentPeriod(std::int32_t hours, std::int32_t minutes, std::int32_t seconds) {
  const std::int64_t raw = std::int64_t{hours} * 3600 + std::int64_t{minutes} * 60 + seconds;
  const auto ofDay = static_cast<std::int32_t>(((raw % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay);
  const std::int32_t minute = ofDay / 60 % 60;
  const std::int32_t intoMinute = ofDay % 60;

  SilentPeriodTiming timing;
  const SilentPeriod now = SilentPeriodAt(minute);
  timing.inForce = now != SilentPeriod::None;
  // The boundary is the first later minute whose period differs from this
  // one's state: the end of the period in force, or the start of the next.
  std::int32_t ahead = 1;
  while (ahead < 60 && (SilentPeriodAt((minute + ahead) % 60) != SilentPeriod::None) == timing.inForce) ++ahead;
  timing.period = timing.inForce ? now : SilentPeriodAt((minute + ahead) % 60);
  if (timing.inForce) {
    std::int32_t back = 0;
    while (back < 59 && SilentPeriodAt((minute + 59 - back) % 60) == now) ++back;
    timing.secondsIntoPeriod = back * 60 + intoMinute;
  }
  timing.secondsToBoundary = ahead * 60 - intoMinute;
  const std::int32_t boundary = (ofDay - intoMinute + ahead * 60) % kSecondsPerDay;
  timing.boundaryHour = boundary / 3600;
  timing.boundaryMinute = boundary / 60 % 60;
  return timing;
}

std::string SilentPeriodTooltipLine(const SilentPeriodTiming& timing, std::string_view unit) {
  std::string line = timing.inForce ? "" : "Next: ";
  std::string name;
  AssignSilentText(name, timing.period, unit);
  line.append(name).append(timing.inForce ? " until " : " at ");
  AppendHourAndMinute(line, timing.boundaryHour, timing.boundaryMinute);
  line.append(" UTC, ");
  if (!timing.inForce) line.append("in ");
  AppendMinutesAndSeconds(line, timing.secondsToBoundary);
  if (timing.inForce) line.append(" left");
  return line;
}

}  // namespace halyard
