#include "face/NextSilentPeriod.h"

#include <gtest/gtest.h>

#include "face/StatusLine.h"

namespace halyard {
namespace {

std::string WithUnit(std::string text, const std::string& unit) {
  for (std::size_t at = text.find('#'); at != std::string::npos; at = text.find('#', at + unit.size())) {
    text.replace(at, 1, unit);
  }
  return text;
}

// Every kind of boundary, with what the tooltip and the countdown say; '#' is the unit.
TEST(NextSilentPeriod, TooltipAndCountdownAcrossEveryBoundary) {
  struct Row {
    int h, m, s;
    const char* tooltip;
    const char* countdown;  // null: inside a period, the status line as without the countdown
  };
  const Row rows[] = {
      {23, 59, 59, "Next: SILENT 2182 # PH at 00:00 UTC, in 0:01", "2182 # PH IN 0:01"},
      {0, 0, 0, "SILENT 2182 # PH until 00:03 UTC, 3:00 left", nullptr},
      {13, 59, 59, "Next: SILENT 2182 # PH at 14:00 UTC, in 0:01", "2182 # PH IN 0:01"},
      {14, 2, 59, "SILENT 2182 # PH until 14:03 UTC, 0:01 left", nullptr},
      {14, 3, 0, "Next: SILENT 500 # CW at 14:15 UTC, in 12:00", "500 # CW IN 12:00"},
      {14, 10, 48, "Next: SILENT 500 # CW at 14:15 UTC, in 4:12", "500 # CW IN 4:12"},
      {14, 14, 59, "Next: SILENT 500 # CW at 14:15 UTC, in 0:01", "500 # CW IN 0:01"},
      {14, 15, 0, "SILENT 500 # CW until 14:18 UTC, 3:00 left", nullptr},
      {14, 17, 59, "SILENT 500 # CW until 14:18 UTC, 0:01 left", nullptr},
      {14, 18, 0, "Next: SILENT 2182 # PH at 14:30 UTC, in 12:00", "2182 # PH IN 12:00"},
      {14, 29, 59, "Next: SILENT 2182 # PH at 14:30 UTC, in 0:01", "2182 # PH IN 0:01"},
      {14, 30, 50, "SILENT 2182 # PH until 14:33 UTC, 2:10 left", nullptr},
      {14, 33, 0, "Next: SILENT 500 # CW at 14:45 UTC, in 12:00", "500 # CW IN 12:00"},
      {14, 47, 59, "SILENT 500 # CW until 14:48 UTC, 0:01 left", nullptr},
      {14, 48, 0, "Next: SILENT 2182 # PH at 15:00 UTC, in 12:00", "2182 # PH IN 12:00"},
      {23, 48, 1, "Next: SILENT 2182 # PH at 00:00 UTC, in 11:59", "2182 # PH IN 11:59"},
  };
  for (const std::string unit : {"", "kilohertz (ITU Radio Regulations)"}) {
    ClockOptions options = DefaultClockOptions();
    options.FrequencyUnit = unit;
    for (const Row& row : rows) {
      const std::string at = std::to_string(row.h) + ":" + std::to_string(row.m) + ":" + std::to_string(row.s);
      const SilentPeriodTiming timing = NextSilentPeriod(row.h, row.m, row.s);
      EXPECT_EQ(SilentPeriodTooltipLine(timing, unit), WithUnit(row.tooltip, unit)) << at;

      StatusLine plain, counting;
      DecideStatusLine(row.m, options, plain);
      DecideCountdownStatusLine(row.m, row.s, options, counting);
      if (row.countdown == nullptr) {
        EXPECT_EQ(counting.text, plain.text) << at;
      } else {
        EXPECT_EQ(counting.text, WithUnit(row.countdown, unit)) << at;
      }
      // The countdown stands in for the banner in the banner's colours.
      EXPECT_EQ(counting.textColor, plain.textColor) << at;
      EXPECT_EQ(counting.backgroundColor, plain.backgroundColor) << at;
    }
  }
}

// Every second of a day agrees with the minute-by-minute decision the face draws.
TEST(NextSilentPeriod, AgreesWithTheStatusLineAtEverySecond) {
  for (int t = 0; t < 24 * 3600; ++t) {
    const SilentPeriodTiming timing = NextSilentPeriod(t / 3600, t / 60 % 60, t % 60);
    const SilentPeriod now = SilentPeriodAt(t / 60 % 60);
    ASSERT_EQ(timing.inForce, now != SilentPeriod::None) << t;
    if (timing.inForce) {
      ASSERT_EQ(timing.period, now) << t;
    }
    ASSERT_TRUE(timing.secondsToBoundary >= 1 && timing.secondsToBoundary <= kLongestCountdownSeconds) << t;
    const int boundary = t + timing.secondsToBoundary;
    ASSERT_EQ(timing.boundaryHour * 3600 + timing.boundaryMinute * 60, boundary % (24 * 3600)) << t;
    // Just before the boundary the state is this one; at it, the other.
    EXPECT_EQ(SilentPeriodAt((boundary - 1) / 60 % 60) != SilentPeriod::None, timing.inForce) << t;
    EXPECT_EQ(SilentPeriodAt(boundary / 60 % 60) != SilentPeriod::None, !timing.inForce) << t;
    if (!timing.inForce) {
      EXPECT_EQ(SilentPeriodAt(boundary / 60 % 60), timing.period) << t;
    } else {
      const int start = t - timing.secondsIntoPeriod;
      EXPECT_EQ(start % 900, 0) << t;  // periods start at 00, 15, 30 and 45
      EXPECT_EQ(timing.secondsIntoPeriod + timing.secondsToBoundary, 180) << t;
    }
  }
}

}  // namespace
}  // namespace halyard
