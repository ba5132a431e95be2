#include "face/StatusLine.h"

#include "face/NextSilentPeriod.h"
#include "options/ColorValue.h"

namespace halyard {

StatusLine DecideStatusLine(std::int32_t minutes, const ClockOptions& options) {
  StatusLine line;
  DecideStatusLine(minutes, options, line);
  return line;
}

void DecideStatusLine(std::int32_t minutes, const ClockOptions& options, StatusLine& line) {
  line.period = SilentPeriodAt(minutes);
  line.textColor = ColorValue(options.LabelTextColor);
  if (line.period == SilentPeriod::None) {
    line.text.assign(options.BannerText);
    line.backgroundColor = ColorValue(options.BackgroundColor);
  } else {
    AssignSilentText(line.text, line.period, options.FrequencyUnit);
    line.backgroundColor = SilentPeriodColor(line.period, options);
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
