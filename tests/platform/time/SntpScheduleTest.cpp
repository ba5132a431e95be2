#include "platform/time/SntpSchedule.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using namespace std::chrono;
using Instant = SntpSchedule::Instant;

const Instant kStart = Instant{} + hours{100};

TEST(SntpSchedule, AtStartThenEvery16MinutesAndNeverSoonerThan64s) {
  SntpSchedule schedule;
  EXPECT_LE(*schedule.NextBurst(), kStart);  // at once
  schedule.BurstStarted(kStart);
  EXPECT_EQ(*schedule.NextBurst(), kStart + minutes{16});
  schedule.AskSoon();
  EXPECT_EQ(*schedule.NextBurst(), kStart + seconds{64});
  schedule.BurstStarted(kStart + seconds{64});
  EXPECT_EQ(*schedule.NextBurst(), kStart + seconds{64} + minutes{16});
}

TEST(SntpSchedule, KissCodes) {
  SntpSchedule schedule;
  schedule.BurstStarted(kStart);
  schedule.Kiss("RATE");
  EXPECT_EQ(*schedule.NextBurst(), kStart + minutes{32});
  schedule.Kiss("RATE");
  EXPECT_EQ(*schedule.NextBurst(), kStart + minutes{64});
  for (int i = 0; i < 20; ++i) schedule.Kiss("RATE");
  EXPECT_EQ(schedule.Interval(), SntpSchedule::kLongestInterval);
  schedule.Kiss("XYZW");  // unknown codes change nothing
  EXPECT_EQ(schedule.Interval(), SntpSchedule::kLongestInterval);
  for (const char* code : {"DENY", "RSTR"}) {
    SntpSchedule refused;
    refused.BurstStarted(kStart);
    refused.Kiss(code);
    EXPECT_FALSE(refused.NextBurst()) << code;
    refused.AskSoon();
    EXPECT_FALSE(refused.NextBurst()) << code;
  }
}

}  // namespace
}  // namespace halyard
