#include <gtest/gtest.h>

#include "backends/x11/TimerSchedule.h"

namespace halyard {
namespace {

using namespace std::chrono;

TEST(TimerScheduleRearm, MovesOnlyTheNextTickOfThatTimer) {
  TimerSchedule timers;
  timers.Start(100, 500, 0ns);
  timers.Start(7, 300, 0ns);
  EXPECT_TRUE(timers.Rearm(100, 120ms, 50ms));
  EXPECT_FALSE(timers.Rearm(55, 1ms, 0ns));
  EXPECT_EQ(timers.TimeUntilNext(50ms), 120ms);  // 170 ms beats timer 7's 300 ms
  EXPECT_EQ(timers.TakeDue(170ms), 100u);
  // After the re-armed tick the timer keeps its period from there.
  EXPECT_EQ(timers.TimeUntilNext(170ms), 130ms);  // timer 7 at 300 ms
  EXPECT_EQ(timers.TakeDue(300ms), 7u);
  EXPECT_EQ(timers.TimeUntilNext(300ms), 300ms);  // timer 7 again at 600 ms
  EXPECT_EQ(timers.TakeDue(600ms), 7u);
  EXPECT_EQ(timers.TimeUntilNext(600ms), 70ms);   // timer 100 at 670 ms
  EXPECT_TRUE(timers.Rearm(100, -5ms, 400ms));    // never into the past
  EXPECT_EQ(timers.TimeUntilNext(400ms), 0ns);
}

}  // namespace
}  // namespace halyard
