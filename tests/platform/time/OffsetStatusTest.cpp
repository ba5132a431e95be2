#include "platform/time/OffsetStatus.h"

#include <gtest/gtest.h>

#include "face/SyncMark.h"

namespace halyard {
namespace {

using namespace std::chrono;

const steady_clock::time_point kNow = steady_clock::time_point{} + hours{1000};
const sys_seconds k1402 = sys_days{2026y / 3 / 9} + hours{14} + minutes{2};

OffsetStatus Measured(double offset, double uncertainty, steady_clock::duration age = minutes{3}) {
  OffsetStatus s;
  s.state = OffsetStatus::State::Measured;
  s.server = "ntp.example";
  s.address = "192.0.2.7";
  s.sample = {offset, 0.004, uncertainty};
  s.measuredAt = kNow - age;
  return s;
}

OffsetStatus In(OffsetStatus::State state, std::string server, std::string address = "", std::string detail = "") {
  OffsetStatus s;
  s.state = state;
  s.server = std::move(server);
  s.address = std::move(address);
  s.detail = std::move(detail);
  s.silentSince = k1402;
  return s;
}

TEST(OffsetStatus, LinesInTheOperatorsWords) {
  using State = OffsetStatus::State;
  struct Row {
    OffsetStatus status;
    const char* tooltip;
    const char* oneOff;
  };
  const Row rows[] = {
      {Measured(0.0123, 0.0031),
       "Offset from ntp.example (192.0.2.7): system clock 0.012 s fast +/- 0.004 s, measured 3 min ago",
       "Offset from ntp.example (192.0.2.7): system clock 0.012 s fast +/- 0.004 s"},
      {Measured(-2.5, 0.001, seconds{20}),
       "Offset from ntp.example (192.0.2.7): system clock 2.500 s slow +/- 0.001 s, measured just now", nullptr},
      {Measured(0.0002, 0.002, hours{3}), "Offset from ntp.example (192.0.2.7): system clock on time +/- 0.002 s, measured 3 h ago",
       nullptr},
      {In(State::Measuring, "ntp.example"), "Offset from ntp.example: measuring", nullptr},
      {In(State::NoAnswer, "ntp.example", "192.0.2.7"), "no answer from ntp.example (192.0.2.7) since 14:02 UTC",
       "no answer from ntp.example (192.0.2.7)"},
      {In(State::NoAnswer, "[::1]:12345", "::1"), "no answer from [::1]:12345 since 14:02 UTC", nullptr},
      {In(State::NoAddress, "ntp.example", "", "Name or service not known"),
       "no address for ntp.example since 14:02 UTC: Name or service not known", nullptr},
      {In(State::NotSynchronised, "127.0.0.1:12301", "127.0.0.1"),
       "127.0.0.1:12301 answers but is not synchronised: no offset measured", nullptr},
      {In(State::Refused, "ntp.example", "192.0.2.7", "DENY"), "ntp.example refuses (DENY): not asked again", nullptr},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(OffsetStatusLine(row.status, kNow), row.tooltip);
    if (row.oneOff != nullptr) {
      EXPECT_EQ(OffsetStatusLine(row.status), row.oneOff);
    }
  }
}

TEST(OffsetStatus, OnlyAMeasurementSurelyBeyondTheLimitIsMarked) {
  EXPECT_EQ(OffsetToMark(Measured(-2.5, 0.002), 0.5), -2.5);
  EXPECT_FALSE(OffsetToMark(Measured(-2.5, 0.002), 3));
  EXPECT_FALSE(OffsetToMark(Measured(0.6, 0.2), 0.5));
  OffsetStatus silent = Measured(-2.5, 0.002);
  silent.state = OffsetStatus::State::NoAnswer;  // no answer is no claim
  EXPECT_FALSE(OffsetToMark(silent, 0.5));
  EXPECT_EQ(OffsetMarkText(-2.5), "\xE2\x88\x92" "2.5 s");
  EXPECT_EQ(OffsetMarkText(2.5), "+2.5 s");
  EXPECT_EQ(OffsetMarkText(0.62), "+0.62 s");
  EXPECT_EQ(OffsetMarkText(-130), "\xE2\x88\x92" "2 min");
  EXPECT_EQ(OffsetMarkText(3 * 3600 + 100), "+3 h");
  EXPECT_EQ(OffsetMarkText(-4e11), "\xE2\x88\x92" "9999+ d");
}

TEST(OffsetStatus, ASetSystemClockVoidsTheMeasurement) {
  OffsetStatus s = Measured(-2.5, 0.002, minutes{10});
  s.measuredAtUtc = sys_time<milliseconds>{k1402};
  // Ten minutes on both clocks, or a slewing service's 500 ppm apart: still good.
  EXPECT_FALSE(SystemClockSetSince(s, s.measuredAtUtc + minutes{10}, kNow));
  EXPECT_FALSE(SystemClockSetSince(s, s.measuredAtUtc + minutes{10} + milliseconds{350}, kNow));
  // Stepped by 2.5 s to put it right: the old offset no longer holds.
  EXPECT_TRUE(SystemClockSetSince(s, s.measuredAtUtc + minutes{10} + milliseconds{2500}, kNow));
  EXPECT_TRUE(SystemClockSetSince(s, s.measuredAtUtc + minutes{9}, kNow));
}

}  // namespace
}  // namespace halyard
