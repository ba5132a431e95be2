#include "app/SecondTime.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using namespace std::chrono;

// A zone that says what the test tells it.
class SetZone final : public TimeZone {
 public:
  explicit SetZone(std::optional<ZoneState>* state) : state_(state) {}
  std::optional<ZoneState> At(sys_seconds) override { return *state_; }

 private:
  std::optional<ZoneState>* state_;
};

TEST(SecondTimeTest, LegendAndTooltipLineAtEachOffset) {
  struct Case {
    std::optional<ZoneState> state;
    const char* name;
    const char* label;
    const char* legend;
    const char* tooltip;
  };
  const Case cases[] = {
      {ZoneState{1h, "CET"}, "local", "", "15:05:09 CET", "Local: 15:05:09 CET (UTC+01:00)"},
      {ZoneState{5h + 45min, "+0545"}, "Asia/Kathmandu", "", "19:50:09 +0545",
       "Asia/Kathmandu: 19:50:09 +0545 (UTC+05:45)"},
      // Across midnight both ways; the label stands for the abbreviation.
      {ZoneState{14h, "+14"}, "Etc/GMT-14", "Kiritimati", "04:05:09 Kiritimati",
       "Etc/GMT-14: 04:05:09 Kiritimati (UTC+14:00)"},
      {ZoneState{-(15h + 30min), "X"}, "Test/West", "", "22:35:09 X", "Test/West: 22:35:09 X (UTC-15:30)"},
      // Windows names no abbreviations: the offset stands in, as the zone database writes it.
      {ZoneState{-(3h + 30min), ""}, "Newfoundland Standard Time", "", "10:35:09 -0330",
       "Newfoundland Standard Time: 10:35:09 -0330 (UTC-03:30)"},
      {ZoneState{0h, ""}, "local", "", "14:05:09 +00", "Local: 14:05:09 +00 (UTC+00:00)"},
      // Rules that cannot be read give no time rather than a wrong one.
      {std::nullopt, "local", "", "--:--:--", "Local: unknown, the zone's rules cannot be read"},
      {std::nullopt, "local", "Home", "--:--:-- Home", "Local: unknown, the zone's rules cannot be read"},
  };
  const sys_seconds utc = sys_days{2026y / December / 9} + 14h + 5min + 9s;
  for (const Case& c : cases) {
    std::optional<ZoneState> state = c.state;
    SecondTime second(std::make_unique<SetZone>(&state), c.name, c.label);
    second.Read(utc);
    EXPECT_EQ(second.Legend(), c.legend);
    EXPECT_EQ(second.TooltipLine(), c.tooltip);
  }
  // A zone that could not be had at all shows as unknown, never as UTC.
  SecondTime none(nullptr, "local", "");
  none.Read(utc);
  EXPECT_EQ(none.Legend(), "--:--:--");
}

}  // namespace
}  // namespace halyard
