// The maritime silent periods: which minutes of every hour they keep, their
// colours and the words the clock uses for them. The status line, the dial's
// sectors, the icon, the countdown and the alert all follow from here.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "options/ClockOptions.h"

namespace halyard {

enum class SilentPeriod { None, Telegraphy500, Telephony2182 };

// Every hour each period keeps silence for three whole minutes from each of
// its start minutes: 2182 kHz (telephony) at 00 and 30, 500 kHz (telegraphy)
// at 15 and 45. In the order of the hour.
inline constexpr std::int32_t kSilentMinutes = 3;
struct SilentStart {
  SilentPeriod period;
  std::int32_t minute;
};
inline constexpr std::array<SilentStart, 4> kSilentSchedule{{
    {SilentPeriod::Telephony2182, 0},
    {SilentPeriod::Telegraphy500, 15},
    {SilentPeriod::Telephony2182, 30},
    {SilentPeriod::Telegraphy500, 45},
}};

// The period in force during `minute` of the hour; None between them and for
// a minute out of range (a malformed time text).
SilentPeriod SilentPeriodAt(std::int32_t minute);

// The 500 kHz sectors and status line are always pure red, whatever the options.
inline constexpr std::int32_t kTelegraphyRed = 0x0000FF;
// The colour of a period's sectors, and of the status line during it: the
// fixed red, or the 2182 kHz colour of the options.
std::int32_t SilentPeriodColor(SilentPeriod period, const ClockOptions& options);

// "SILENT 500 <unit> CW" or "SILENT 2182 <unit> PH", the unit as written;
// empty for None. Reuses `text`'s buffer, so a repaint need not allocate.
void AssignSilentText(std::string& text, SilentPeriod period, std::string_view unit);
// The same without "SILENT ": "500 <unit> CW", appended to `text`.
void AppendSilentPeriodName(std::string& text, SilentPeriod period, std::string_view unit);
std::string SilentText(SilentPeriod period, std::string_view unit);

// "4:12", "12:00", "0:01": minutes and seconds, appended to `text`.
void AppendMinutesAndSeconds(std::string& text, std::int32_t seconds);
// "500 <unit> CW IN 4:12": the countdown to `period`, `seconds` ahead, that
// stands in for the banner. Reuses `text`'s buffer.
void AssignCountdownText(std::string& text, SilentPeriod period, std::string_view unit, std::int32_t seconds);

// The most seconds a countdown shows: the longest gap between two periods.
constexpr std::int32_t LongestSilentGapMinutes() {
  std::int32_t longest = 0;
  for (std::size_t i = 0; i < kSilentSchedule.size(); ++i) {
    const bool last = i + 1 == kSilentSchedule.size();
    const std::int32_t next = kSilentSchedule[last ? 0 : i + 1].minute + (last ? 60 : 0);
    longest = std::max(longest, next - kSilentSchedule[i].minute - kSilentMinutes);
  }
  return longest;
}
inline constexpr std::int32_t kLongestCountdownSeconds = LongestSilentGapMinutes() * 60;

}  // namespace halyard
