// Zones at fixed instants on both sides of their daylight-saving changes, read
// by name from the zone database and as the system's zone under TZ: both
// ways must give the offsets and abbreviations the zone's rules lay down.
#include "platform/time/TimeZone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace halyard {
namespace {

using namespace std::chrono;

struct ZoneCase {
  const char* zone;
  sys_seconds utc;
  seconds offset;
  const char* abbreviation;
};

constexpr sys_seconds At(year_month_day day, hours h, minutes m, seconds s) { return sys_days{day} + h + m + s; }

const ZoneCase kCases[] = {
    // Europe/Berlin: summer time from 01:00 UTC on the last Sunday of March to that of October.
    {"Europe/Berlin", At(2026y / March / 29, 0h, 59min, 59s), 1h, "CET"},
    {"Europe/Berlin", At(2026y / March / 29, 1h, 0min, 0s), 2h, "CEST"},
    {"Europe/Berlin", At(2026y / October / 25, 0h, 59min, 59s), 2h, "CEST"},
    {"Europe/Berlin", At(2026y / October / 25, 1h, 0min, 0s), 1h, "CET"},
    // America/New_York: at 02:00 local on the second Sunday of March and the first of November.
    {"America/New_York", At(2026y / March / 8, 6h, 59min, 59s), -5h, "EST"},
    {"America/New_York", At(2026y / March / 8, 7h, 0min, 0s), -4h, "EDT"},
    {"America/New_York", At(2026y / November / 1, 5h, 59min, 59s), -4h, "EDT"},
    {"America/New_York", At(2026y / November / 1, 6h, 0min, 0s), -5h, "EST"},
    // Australia/Sydney, southern hemisphere: summer time ends in April and starts in October.
    {"Australia/Sydney", At(2026y / April / 4, 15h, 59min, 59s), 11h, "AEDT"},
    {"Australia/Sydney", At(2026y / April / 4, 16h, 0min, 0s), 10h, "AEST"},
    {"Australia/Sydney", At(2026y / October / 3, 15h, 59min, 59s), 10h, "AEST"},
    {"Australia/Sydney", At(2026y / October / 3, 16h, 0min, 0s), 11h, "AEDT"},
    // Australia/Lord_Howe: a change of half an hour.
    {"Australia/Lord_Howe", At(2026y / April / 4, 14h, 59min, 59s), 11h, "+11"},
    {"Australia/Lord_Howe", At(2026y / April / 4, 15h, 0min, 0s), 10h + 30min, "+1030"},
    {"Australia/Lord_Howe", At(2026y / October / 3, 15h, 29min, 59s), 10h + 30min, "+1030"},
    {"Australia/Lord_Howe", At(2026y / October / 3, 15h, 30min, 0s), 11h, "+11"},
    // Quarter hours, no daylight saving, and the zone furthest ahead.
    {"Asia/Kathmandu", At(2026y / March / 29, 1h, 0min, 0s), 5h + 45min, "+0545"},
    {"Asia/Kathmandu", At(2026y / October / 25, 1h, 0min, 0s), 5h + 45min, "+0545"},
    {"Asia/Tokyo", At(2026y / March / 8, 7h, 0min, 0s), 9h, "JST"},
    {"Asia/Tokyo", At(2026y / October / 25, 1h, 0min, 0s), 9h, "JST"},
    {"Etc/GMT-14", At(2026y / December / 31, 10h, 0min, 0s), 14h, "+14"},
};

// TZ for the test's own process, put back as it was.
class TzGuard {
 public:
  TzGuard() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
  }
  ~TzGuard() {
    if (saved_) setenv("TZ", saved_->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  void Set(const std::string& tz) { setenv("TZ", tz.c_str(), 1); }

 private:
  std::optional<std::string> saved_;
};

TEST(PosixTimeZoneTest, NamedZonesAndTheSystemZoneFollowTheRulesOnBothSidesOfEachChange) {
  TzGuard tz;
  const std::unique_ptr<TimeZone> local = PlatformTimeZone("local");
  ASSERT_NE(local, nullptr);
  for (const ZoneCase& c : kCases) {
    const ZoneState expected{c.offset, c.abbreviation};
    const std::unique_ptr<TimeZone> named = PlatformTimeZone(c.zone);
    ASSERT_NE(named, nullptr) << c.zone;
    EXPECT_EQ(named->At(c.utc), expected) << c.zone << " at " << c.utc.time_since_epoch().count();
    // The system's zone is read afresh at each reading: a new TZ counts at once.
    tz.Set(c.zone);
    EXPECT_EQ(local->At(c.utc), expected) << "local, TZ=" << c.zone << " at " << c.utc.time_since_epoch().count();
  }
}

TEST(PosixTimeZoneTest, OnlyZonesOfTheDatabaseAreZones) {
  for (const char* name : {"Europe/Berlin", "UTC", "Etc/GMT+12", "local"}) EXPECT_NE(PlatformTimeZone(name), nullptr) << name;
  for (const char* name : {"", "Europe/Berln", "europe/berlin", "Europe", "zone.tab", "posix/Europe/Berlin",
                           "../../../etc/passwd", "/etc/localtime", "localtime", "Local", "W. Europe Standard Time"}) {
    EXPECT_EQ(PlatformTimeZone(name), nullptr) << name;
  }
}

}  // namespace
}  // namespace halyard
