#include "platform/time/TimeSource.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using namespace std::chrono;

// A clock that reports a given local wall-clock time and offset.
class FixedClock final : public SystemClock {
 public:
  FixedClock(sys_days day, milliseconds localTimeOfDay, seconds offset)
      : reading_{time_point_cast<milliseconds>(day) + localTimeOfDay - offset, offset} {}
  ClockReading Read() override {
    ++reads;
    return reading_;
  }
  int reads = 0;

 private:
  ClockReading reading_;
};

std::string FullText(SystemClock& clock) {
  TimeSource source(clock);
  source.SetLocalNow();
  source.LocalToUtc();
  std::string text;
  source.TimeText(text);
  return text;
}

TEST(TimeSource, ConvertsLocalTimeToUtcTimeOfDay) {
  FixedClock ahead(2024y / March / 10, hours{14} + minutes{5} + seconds{9} + milliseconds{250}, hours{1});
  EXPECT_EQ(FullText(ahead), "13:05:09.250");
  EXPECT_EQ(UtcTimeText(ahead), "13:05:09");

  FixedClock previousEvening(2024y / March / 10, minutes{30}, hours{2});
  EXPECT_EQ(UtcTimeText(previousEvening), "22:30:00");

  // Five hours behind UTC: the day rolls over and the milliseconds are dropped.
  FixedClock behind(2024y / March / 10, hours{21} + minutes{15} + seconds{30} + milliseconds{999}, -hours{5});
  EXPECT_EQ(FullText(behind), "02:15:30.999");
  EXPECT_EQ(UtcTimeText(behind), "02:15:30");
}

TEST(TimeSource, PadsFieldsAndCoversTheWholeDay) {
  FixedClock early(2024y / January / 1, hours{1} + minutes{2} + seconds{3} + milliseconds{4}, seconds{0});
  EXPECT_EQ(FullText(early), "01:02:03.004");
  FixedClock midnight(2024y / January / 1, milliseconds{0}, seconds{0});
  EXPECT_EQ(UtcTimeText(midnight), "00:00:00");
  FixedClock last(2024y / December / 31, hours{23} + minutes{59} + seconds{59} + milliseconds{999}, seconds{0});
  EXPECT_EQ(UtcTimeText(last), "23:59:59");
}

TEST(TimeSource, OddOffsetsAndFarFutureDates) {
  // Quarter-hour zones and dates past 2038 and 2100 (the tick count is 64-bit).
  FixedClock nepal(2024y / June / 1, hours{5} + minutes{45}, hours{5} + minutes{45});
  EXPECT_EQ(UtcTimeText(nepal), "00:00:00");
  FixedClock y2038(2038y / January / 19, hours{3} + minutes{14} + seconds{8}, seconds{0});
  EXPECT_EQ(UtcTimeText(y2038), "03:14:08");
  FixedClock far(2400y / February / 29, hours{12} + seconds{1}, -hours{12});
  EXPECT_EQ(UtcTimeText(far), "00:00:01");
}

TEST(TimeSource, ReadsTheClockOnceSoOffsetAndTimeAgree) {
  // A clock whose offset changes between reads (a daylight-saving switch)
  // must not shift the result: the offset of the same reading is used.
  class SwitchingClock final : public SystemClock {
   public:
    ClockReading Read() override {
      const seconds offset = (reads++ % 2 == 0) ? hours{1} : hours{2};
      return {sys_days{2024y / October / 27} + hours{1} + minutes{59} + seconds{59}, offset};
    }
    int reads = 0;
  } clock;
  EXPECT_EQ(UtcTimeText(clock), "01:59:59");
  EXPECT_EQ(clock.reads, 1);
}

TEST(TimeSource, TicksCountFrom1601AndSubMillisecondsAreDropped) {
  EXPECT_EQ(TicksSince1601(sys_days{1601y / January / 1}), 0u);
  EXPECT_EQ(TicksSince1601(sys_days{1970y / January / 1}), 116444736000000000ull);
  TimeSource source;
  source.SetTicks(TicksSince1601(sys_days{2024y / May / 5} + hours{6}) + 9'999);  // 0.9999 ms past
  std::string text;
  source.TimeText(text);
  EXPECT_EQ(text, "06:00:00.000");
}

TEST(TimeSource, PlatformClockGivesAWellFormedText) {
  const std::string text = UtcTimeText();
  ASSERT_EQ(text.size(), 8u);
  EXPECT_EQ(text[2], ':');
  EXPECT_EQ(text[5], ':');
}

}  // namespace
}  // namespace halyard
