// Windows zones by key name at fixed instants on both sides of their
// daylight-saving changes, as the system's rules for each year give them.
#include "platform/time/TimeZone.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using namespace std::chrono;

struct ZoneCase {
  const char* zone;
  sys_seconds utc;
  seconds offset;
};

constexpr sys_seconds At(year_month_day day, hours h, minutes m, seconds s) { return sys_days{day} + h + m + s; }

TEST(WinTimeZoneTest, KeyNamedZonesFollowEachYearsRules) {
  const ZoneCase cases[] = {
      {"W. Europe Standard Time", At(2026y / March / 29, 0h, 59min, 59s), 1h},
      {"W. Europe Standard Time", At(2026y / March / 29, 1h, 0min, 0s), 2h},
      {"W. Europe Standard Time", At(2026y / October / 25, 0h, 59min, 59s), 2h},
      {"W. Europe Standard Time", At(2026y / October / 25, 1h, 0min, 0s), 1h},
      {"Eastern Standard Time", At(2026y / March / 8, 6h, 59min, 59s), -5h},
      {"Eastern Standard Time", At(2026y / March / 8, 7h, 0min, 0s), -4h},
      {"AUS Eastern Standard Time", At(2026y / April / 4, 15h, 59min, 59s), 11h},
      {"AUS Eastern Standard Time", At(2026y / April / 4, 16h, 0min, 0s), 10h},
      {"Lord Howe Standard Time", At(2026y / October / 3, 15h, 29min, 59s), 10h + 30min},
      {"Lord Howe Standard Time", At(2026y / October / 3, 15h, 30min, 0s), 11h},
      {"Nepal Standard Time", At(2026y / June / 1, 12h, 0min, 0s), 5h + 45min},
      {"Tokyo Standard Time", At(2026y / March / 8, 7h, 0min, 0s), 9h},
      {"Line Islands Standard Time", At(2026y / December / 31, 10h, 0min, 0s), 14h},
      // New Year's Eve in UTC is already the next year there, whose rules count.
      {"AUS Eastern Standard Time", At(2026y / December / 31, 14h, 0min, 0s), 11h},
  };
  for (const ZoneCase& c : cases) {
    const std::unique_ptr<TimeZone> zone = PlatformTimeZone(c.zone);
    ASSERT_NE(zone, nullptr) << c.zone;
    EXPECT_EQ(zone->At(c.utc), (ZoneState{c.offset, ""})) << c.zone << " at " << c.utc.time_since_epoch().count();
  }
  EXPECT_NE(PlatformTimeZone("local"), nullptr);
  for (const char* name : {"", "Bogus Standard Time", "Europe/Berlin", "W. Europe Standard Time\\Dynamic DST",
                           "W. Europe Standard Time\t"}) {
    EXPECT_EQ(PlatformTimeZone(name), nullptr) << name;
  }
}

}  // namespace
}  // namespace halyard
