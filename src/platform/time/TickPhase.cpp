#include "platform/time/TickPhase.h"

namespace halyard {

std::chrono::milliseconds OffsetPastHalfSecond(std::chrono::sys_time<std::chrono::milliseconds> now) {
  const auto phase = now.time_since_epoch() % kTickPeriod;
  return phase < std::chrono::milliseconds::zero() ? phase + kTickPeriod : phase;
}

std::chrono::milliseconds DelayToNextTick(std::chrono::sys_time<std::chrono::milliseconds> now,
                                          std::chrono::milliseconds margin) {
  const auto phase = OffsetPastHalfSecond(now);
  return phase < margin ? kTickPeriod + (margin - phase) : kTickPeriod - phase + margin;
}

std::chrono::milliseconds DelayToNextTick(SystemClock& clock) { return DelayToNextTick(clock.Read().utc); }

}  // namespace halyard
