#include "face/StatusLine.h"

#include <gtest/gtest.h>

#include "options/ColorValue.h"

namespace halyard {
namespace {

TEST(StatusLine, SilentPeriodsByMinuteAlone) {
  const ClockOptions options = DefaultClockOptions();
  for (int m = 0; m < 60; ++m) {
    const StatusLine line = DecideStatusLine(m, options);
    const bool cw = (m >= 15 && m <= 17) || (m >= 45 && m <= 47);
    const bool ph = (m >= 0 && m <= 2) || (m >= 30 && m <= 32);
    if (cw) {
      EXPECT_EQ(line.text, "SILENT 500 kHz CW") << m;
      EXPECT_EQ(line.backgroundColor, 255) << m;
    } else if (ph) {
      EXPECT_EQ(line.text, "SILENT 2182 kHz PH") << m;
      EXPECT_EQ(line.backgroundColor, 0xFF901E) << m;
    } else {
      EXPECT_EQ(line.text, options.BannerText) << m;
      EXPECT_EQ(line.backgroundColor, 0) << m;
    }
    EXPECT_EQ(line.textColor, 0xFFFFFF) << m;
  }
  // Out-of-range minutes (a malformed time text) show the banner.
  EXPECT_EQ(DecideStatusLine(-15, options).period, SilentPeriod::None);
  EXPECT_EQ(DecideStatusLine(75, options).period, SilentPeriod::None);
}

TEST(StatusLine, UnitAndBannerAreUsedExactlyAsStored) {
  ClockOptions options = DefaultClockOptions();
  options.FrequencyUnit = "";
  EXPECT_EQ(DecideStatusLine(16, options).text, "SILENT 500  CW");  // two spaces
  options.FrequencyUnit = " khz ";
  EXPECT_EQ(DecideStatusLine(31, options).text, "SILENT 2182  khz  PH");
  options.FrequencyUnit = "\xE9t\xE9";  // bytes above 127 pass through untouched
  EXPECT_EQ(DecideStatusLine(1, options).text, "SILENT 2182 \xE9t\xE9 PH");
  options.BannerText = "";
  EXPECT_EQ(DecideStatusLine(59, options).text, "");
}

TEST(StatusLine, ColoursComeFromTheOptionsAtEachCall) {
  ClockOptions options = DefaultClockOptions();
  options.LabelTextColor = "&HFFFF";  // four digits: -1, the system text colour
  options.PhoneSectorColor = "&H123456";
  options.BackgroundColor = "junk";
  EXPECT_EQ(DecideStatusLine(0, options).textColor, -1);
  EXPECT_EQ(DecideStatusLine(0, options).backgroundColor, 0x123456);
  EXPECT_EQ(DecideStatusLine(20, options).backgroundColor, 0);
  EXPECT_EQ(DecideStatusLine(46, options).backgroundColor, 255);  // red is not configurable
}

}  // namespace
}  // namespace halyard
