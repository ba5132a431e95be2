#include "app/SilentPeriodAlert.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace halyard {
namespace {

using namespace std::chrono;
using Signal = SilentPeriodAlert::Signal;

// A day of ticks, two a second, started at 00:01:00 inside a period, with
// missed ticks, a clock set back across a start and two jumps of 40 minutes.
TEST(SilentPeriodAlert, ADayOfTicksAlertsExactlyAtTheStartsItShows) {
  const sys_seconds day = sys_days{2026y / December / 9};
  auto at = [&](int h, int m, int s) { return day + hours{h} + minutes{m} + seconds{s}; };
  std::map<sys_seconds, sys_seconds> jumps = {
      {at(5, 14, 58), at(5, 15, 5)},    // ticks missed: the first shown is 5 s into the period
      {at(6, 29, 55), at(6, 30, 12)},   // 12 s in: too late to alert
      {at(8, 16, 0), at(8, 14, 30)},    // set back across a start already alerted
      {at(10, 5, 30), at(10, 45, 30)},  // 40 minutes ahead, 30 s into a period
      {at(11, 4, 58), at(11, 44, 58)},  // 40 minutes ahead, just before a start
  };

  SilentPeriodAlert alert;
  std::vector<std::pair<sys_seconds, Signal>> seen;
  for (sys_seconds t = at(0, 1, 0); t <= at(24, 1, 0);) {
    for (int tick = 0; tick < 2; ++tick) {
      const Signal signal = alert.Tick(t);
      if (signal != Signal::None) seen.emplace_back(t, signal);
    }
    const auto jump = jumps.find(t);
    if (jump != jumps.end()) {
      t = jump->second;
      jumps.erase(jump);
    } else {
      t += seconds{1};
    }
  }

  // Every start of the day but those never shown early enough; each alert
  // ends with its period, the one set back across its start at once.
  const std::set<sys_seconds> quiet = {at(0, 0, 0),   at(6, 30, 0),  at(10, 15, 0), at(10, 30, 0),
                                       at(10, 45, 0), at(11, 15, 0), at(11, 30, 0)};
  std::vector<std::pair<sys_seconds, Signal>> expected;
  for (sys_seconds start = at(0, 15, 0); start <= at(24, 0, 0); start += minutes{15}) {
    if (quiet.count(start)) continue;
    if (start == at(5, 15, 0)) {
      expected.emplace_back(at(5, 15, 5), Signal::Start);
    } else {
      expected.emplace_back(start, Signal::Start);
    }
    if (start == at(8, 15, 0)) {
      expected.emplace_back(at(8, 14, 30), Signal::End);
    } else if (start < at(24, 0, 0)) {
      expected.emplace_back(start + minutes{3}, Signal::End);
    }
  }
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(alert.Active());  // the last period is still in force
}

}  // namespace
}  // namespace halyard
