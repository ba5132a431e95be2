#include "platform/time/TickPhase.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using namespace std::chrono;

sys_time<milliseconds> At(long long ms) { return sys_time<milliseconds>{milliseconds{ms}}; }

TEST(TickPhase, NextTickFallsJustAfterTheNextHalfSecond) {
  EXPECT_EQ(DelayToNextTick(At(1'000'000'000'000)), 503ms);  // on a boundary: the next one
  EXPECT_EQ(DelayToNextTick(At(1'000'000'000'003)), 500ms);  // a punctual tick keeps its phase
  EXPECT_EQ(DelayToNextTick(At(1'000'000'000'250)), 253ms);
  EXPECT_EQ(DelayToNextTick(At(1'000'000'000'499)), 4ms);
  EXPECT_EQ(DelayToNextTick(At(1'000'000'000'501)), 502ms);  // woke early: no double tick
  EXPECT_EQ(OffsetPastHalfSecond(At(1'000'000'000'742)), 242ms);
  EXPECT_EQ(OffsetPastHalfSecond(At(-1)), 499ms);  // before 1970 too
}

TEST(TickPhase, DrivenTicksLockOntoBoundariesAndStayApart) {
  // Simulate a timer that fires 0 to 7 ms late, and a clock stepped twice.
  long long now = 1'700'000'000'123;
  long long previous = 0;
  int sinceStep = 0;
  for (int tick = 0; tick < 400; ++tick) {
    if (tick == 100) now += 3'600'000 + 171;  // stepped forward
    if (tick == 250) now -= 86'400'000 - 37;  // stepped back a day
    if (tick == 100 || tick == 250) sinceStep = 0;
    const long long delay = DelayToNextTick(At(now)).count();
    ASSERT_GT(delay, 3);
    ASSERT_LE(delay, 503);
    now += delay + (tick * 7919) % 8;  // timer lateness
    ++sinceStep;
    const long long phase = OffsetPastHalfSecond(At(now)).count();
    if (sinceStep >= 2) {
      EXPECT_GE(phase, 3) << tick;   // re-aligned within two ticks of a step
      EXPECT_LE(phase, 10) << tick;
    }
    if (previous != 0 && sinceStep >= 2) {
      EXPECT_GE(now - previous, 490) << tick;
    }
    previous = now;
  }
}

}  // namespace
}  // namespace halyard
