#include "options/SilentPeriod.h"

#include <cstdio>

#include "options/ColorValue.h"

namespace halyard {

SilentPeriod SilentPeriodAt(std::int32_t minute) {
  for (const SilentStart& start : kSilentSchedule) {
    if (minute >= start.minute && minute < start.minute + kSilentMinutes) return start.period;
  }
  return SilentPeriod::None;
}

std::int32_t SilentPeriodColor(SilentPeriod period, const ClockOptions& options) {
  return period == SilentPeriod::Telegraphy500 ? kTelegraphyRed : ColorValue(options.PhoneSectorColor);
}

void AppendSilentPeriodName(std::string& text, SilentPeriod period, std::string_view unit) {
  switch (period) {
    case SilentPeriod::Telegraphy500:
      text.append("500 ").append(unit).append(" CW");
      break;
    case SilentPeriod::Telephony2182:
      text.append("2182 ").append(unit).append(" PH");
      break;
    case SilentPeriod::None:
      break;
  }
}

void AssignSilentText(std::string& text, SilentPeriod period, std::string_view unit) {
  text.clear();
  if (period == SilentPeriod::None) return;
  text.append("SILENT ");
  AppendSilentPeriodName(text, period, unit);
}

std::string SilentText(SilentPeriod period, std::string_view unit) {
  std::string text;
  AssignSilentText(text, period, unit);
  return text;
}

void AppendMinutesAndSeconds(std::string& text, std::int32_t seconds) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
  text.append(buffer);
}

void AssignCountdownText(std::string& text, SilentPeriod period, std::string_view unit, std::int32_t seconds) {
  text.clear();
  AppendSilentPeriodName(text, period, unit);
  text.append(" IN ");
  AppendMinutesAndSeconds(text, seconds);
}

}  // namespace halyard
