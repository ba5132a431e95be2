#include "face/StatusLine.h"

#include "face/NextSilentPeriod.h"
#include "options/ColorValue.h"

namespace halyard {

SilentPeriod SilentPeriodAt(std::int32_t minutes) {
  switch (minutes) {
    case 15: case 16: case 17: case 45: case 46: case 47:
      return SilentPeriod::Telegraphy500;
    case 0: case 1: case 2: case 30: case 31: case 32:
      return SilentPeriod::Telephony2182;
    default:
      return SilentPeriod::None;
  }
}

StatusLine DecideStatusLine(std::int32_t minutes, const ClockOptions& options) {
  StatusLine line;
  DecideStatusLine(minutes, options, line);
  return line;
}

void DecideStatusLine(std::int32_t minutes, const ClockOptions& options, StatusLine& line) {
  line.period = SilentPeriodAt(minutes);
  line.textColor = ColorValue(options.LabelTextColor);
  switch (line.period) {
    case SilentPeriod::Telegraphy500:
      AssignSilentText(line.text, line.period, options.FrequencyUnit);
      line.backgroundColor = kTelegraphyRed;
      break;
    case SilentPeriod::Telephony2182:
      AssignSilentText(line.text, line.period, options.FrequencyUnit);
      line.backgroundColor = ColorValue(options.PhoneSectorColor);
      break;
    case SilentPeriod::None:
      line.text.assign(options.BannerText);
      line.backgroundColor = ColorValue(options.BackgroundColor);
      break;
  }
}

void DecideCountdownStatusLine(std::int32_t minutes, std::int32_t seconds, const ClockOptions& options,
                               StatusLine& line) {
  DecideStatusLine(minutes, options, line);
  if (line.period != SilentPeriod::None) return;
  const SilentPeriodTiming next = NextSilentPeriod(0, minutes, seconds);
  AssignCountdownText(line.text, next.period, options.FrequencyUnit, next.secondsToBoundary);
}

}  // namespace halyard
