#include "app/SilentPeriodAlert.h"

#include "face/NextSilentPeriod.h"

namespace halyard {

SilentPeriodAlert::Signal SilentPeriodAlert::Tick(std::chrono::sys_seconds utc) {
  constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;
  const std::int64_t sinceEpoch = utc.time_since_epoch().count();
  const auto ofDay = static_cast<std::int32_t>(((sinceEpoch % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay);
  const SilentPeriodTiming timing = NextSilentPeriod(0, 0, ofDay);
  std::optional<std::chrono::sys_seconds> start;
  if (timing.inForce) start = utc - std::chrono::seconds{timing.secondsIntoPeriod};

  Signal signal = Signal::None;
  if (active_ && start != announced_) {
    active_ = false;
    signal = Signal::End;
  }
  // The tick before was before the start: this is the first tick that shows
  // the period, early enough in it, and the period has not been announced
  // (a clock set back across a start it already announced stays quiet).
  if (start && previous_ && *previous_ < *start && utc - *start < kLateness && start != announced_) {
    announced_ = start;
    active_ = true;
    signal = Signal::Start;
  }
  previous_ = utc;
  return signal;
}

}  // namespace halyard
