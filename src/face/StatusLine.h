// What the status line says, and in which colours, for a minute of the hour.
#pragma once

#include <cstdint>
#include <string>

#include "options/ClockOptions.h"
#include "options/SilentPeriod.h"

namespace halyard {

struct StatusLine {
  SilentPeriod period = SilentPeriod::None;
  std::string text;
  std::int32_t textColor = 0;
  std::int32_t backgroundColor = 0;
};

StatusLine DecideStatusLine(std::int32_t minutes, const ClockOptions& options);
// The same, reusing `line`'s text buffer so a repaint need not allocate.
void DecideStatusLine(std::int32_t minutes, const ClockOptions& options, StatusLine& line);
// With the countdown on: outside the silent periods the line counts down to
// the next one ("500 kHz CW IN 4:12") in the banner's colours; inside one it
// is as above.
void DecideCountdownStatusLine(std::int32_t minutes, std::int32_t seconds, const ClockOptions& options,
                               StatusLine& line);

}  // namespace halyard
