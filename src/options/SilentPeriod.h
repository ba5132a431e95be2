// The two kinds of silent period and the words the clock uses for them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace halyard {

enum class SilentPeriod { None, Telegraphy500, Telephony2182 };

// The 500 kHz sectors and status line are always pure red, whatever the options.
inline constexpr std::int32_t kTelegraphyRed = 0x0000FF;

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
inline constexpr std::int32_t kLongestCountdownSeconds = 12 * 60;

}  // namespace halyard
