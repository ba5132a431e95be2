#include "backends/x11/TimerSchedule.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using std::chrono::milliseconds;

TEST(TimerSchedule, TicksStayOnTheirGridHoweverLateTheyAreTaken) {
  TimerSchedule timers;
  const milliseconds start(1000);
  ASSERT_EQ(timers.Start(100, 500, start), 100u);
  EXPECT_FALSE(timers.TakeDue(start + milliseconds(499)));
  EXPECT_EQ(timers.TimeUntilNext(start + milliseconds(499)), milliseconds(1));

  // Taken 30 ms late: the next tick is still 1000 ms after the start, not 1030.
  EXPECT_EQ(timers.TakeDue(start + milliseconds(530)), 100u);
  EXPECT_FALSE(timers.TakeDue(start + milliseconds(530)));
  EXPECT_EQ(timers.TimeUntilNext(start + milliseconds(530)), milliseconds(470));

  // Many slightly late wake-ups never add up to a drift.
  for (int tick = 2; tick <= 200; ++tick) {
    const milliseconds late = start + milliseconds(500 * tick + 40);
    ASSERT_EQ(timers.TakeDue(late), 100u) << tick;
  }
  EXPECT_EQ(timers.TimeUntilNext(start + milliseconds(100'040)), milliseconds(460));
}

TEST(TimerSchedule, AfterAStallOneTickFiresAndTheGridResumes) {
  TimerSchedule timers;
  timers.Start(100, 500, milliseconds(0));
  // Asleep for 2.3 s: one event, not four, and the next tick is at 2.5 s.
  EXPECT_EQ(timers.TakeDue(milliseconds(2300)), 100u);
  EXPECT_FALSE(timers.TakeDue(milliseconds(2300)));
  EXPECT_EQ(timers.TimeUntilNext(milliseconds(2300)), milliseconds(200));
  // Exactly on a grid instant counts as due, and moves a whole period on.
  EXPECT_EQ(timers.TakeDue(milliseconds(2500)), 100u);
  EXPECT_EQ(timers.TimeUntilNext(milliseconds(2500)), milliseconds(500));
}

TEST(TimerSchedule, StopRestartAndSeveralTimers) {
  TimerSchedule timers;
  EXPECT_FALSE(timers.TimeUntilNext(milliseconds(0)));  // nothing to wait for
  EXPECT_EQ(timers.Start(0, 500, milliseconds(0)), 0u);  // id 0 is refused
  EXPECT_TRUE(timers.Empty());

  timers.Start(100, 500, milliseconds(0));
  timers.Start(7, 200, milliseconds(0));
  EXPECT_EQ(timers.TimeUntilNext(milliseconds(0)), milliseconds(200));
  // Both due: the earlier deadline first.
  EXPECT_EQ(timers.TakeDue(milliseconds(600)), 7u);
  EXPECT_EQ(timers.TakeDue(milliseconds(600)), 100u);

  // Restarting an id replaces it on a new grid rather than adding a second one.
  timers.Start(100, 500, milliseconds(650));
  EXPECT_TRUE(timers.Stop(7));
  EXPECT_FALSE(timers.Stop(7));
  EXPECT_FALSE(timers.TakeDue(milliseconds(1100)));
  EXPECT_EQ(timers.TakeDue(milliseconds(1150)), 100u);
  EXPECT_FALSE(timers.TakeDue(milliseconds(1150)));
  EXPECT_TRUE(timers.Stop(100));
  EXPECT_FALSE(timers.TimeUntilNext(milliseconds(5000)));
}

}  // namespace
}  // namespace halyard
