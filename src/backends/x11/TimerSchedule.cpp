#include "backends/x11/TimerSchedule.h"

#include <algorithm>

namespace halyard {

std::uint32_t TimerSchedule::Start(std::uint32_t id, std::uint32_t periodMs, Duration now) {
  if (id == 0) return 0;
  const Duration period =
      std::chrono::milliseconds(std::clamp(periodMs, kMinimumPeriodMs, kMaximumPeriodMs));
  Stop(id);
  timers_.push_back({id, period, now + period});
  return id;
}

bool TimerSchedule::Stop(std::uint32_t handle) {
  return std::erase_if(timers_, [handle](const Timer& t) { return t.id == handle; }) > 0;
}

bool TimerSchedule::Rearm(std::uint32_t id, Duration delay, Duration now) {
  for (Timer& timer : timers_) {
    if (timer.id == id) {
      timer.next = now + std::max(delay, Duration::zero());
      return true;
    }
  }
  return false;
}

std::optional<TimerSchedule::Duration> TimerSchedule::TimeUntilNext(Duration now) const {
  if (timers_.empty()) return std::nullopt;
  const auto earliest = std::min_element(timers_.begin(), timers_.end(),
                                         [](const Timer& a, const Timer& b) { return a.next < b.next; });
  return std::max(earliest->next - now, Duration::zero());
}

std::optional<std::uint32_t> TimerSchedule::TakeDue(Duration now) {
  Timer* earliest = nullptr;
  for (Timer& timer : timers_) {
    if (timer.next <= now && (earliest == nullptr || timer.next < earliest->next)) earliest = &timer;
  }
  if (earliest == nullptr) return std::nullopt;
  // The first grid instant strictly after now.
  const auto missed = (now - earliest->next) / earliest->period;
  earliest->next += earliest->period * (missed + 1);
  return earliest->id;
}

}  // namespace halyard
