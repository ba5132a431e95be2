// The window's periodic timers on the monotonic clock.
//
// Each timer keeps the grid of instants start + k * period, so the ticks stay
// one period apart however late the event loop wakes: lateness never adds up.
// A timer that fell behind by several periods fires once and rejoins its grid,
// as a window timer does (missed ticks are not queued).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace halyard {

class TimerSchedule {
 public:
  using Duration = std::chrono::nanoseconds;  // time on the monotonic clock

  // Window timers never run faster than this, as on Windows.
  static constexpr std::uint32_t kMinimumPeriodMs = 10;
  static constexpr std::uint32_t kMaximumPeriodMs = 0x7FFFFFFF;

  // Starts (or restarts, on a new grid) timer `id`; its first tick is one
  // period after `now`. Returns the handle, which is the id; 0 for id 0,
  // which cannot be told apart from failure and so is refused.
  std::uint32_t Start(std::uint32_t id, std::uint32_t periodMs, Duration now);
  // False if no timer has that handle.
  bool Stop(std::uint32_t handle);
  // Moves timer `id`'s next tick to `now + delay` (its period stays); false if
  // there is no such timer. Keeps a timer in phase with another clock.
  bool Rearm(std::uint32_t id, Duration delay, Duration now);

  // Time left until the earliest tick (zero if one is due); none without timers.
  std::optional<Duration> TimeUntilNext(Duration now) const;

  // The id of the timer with the earliest deadline at or before `now`, which
  // moves on to the first instant of its grid after `now`; none if none is due.
  // Taken one at a time, so that a handler stopping a timer is seen at once.
  std::optional<std::uint32_t> TakeDue(Duration now);

  bool Empty() const { return timers_.empty(); }

 private:
  struct Timer {
    std::uint32_t id;
    Duration period;
    Duration next;
  };
  std::vector<Timer> timers_;
};

}  // namespace halyard
