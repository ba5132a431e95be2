// When the clock calls for attention: at the tick that first shows a silent
// period's start, and until that period is over. Fed with the UTC time of
// each tick; knows nothing of windows.
#pragma once

#include <chrono>
#include <optional>

namespace halyard {

class SilentPeriodAlert {
 public:
  enum class Signal { None, Start, End };

  // A late tick still announces the period when it is less than this far in;
  // a clock that jumps or resumes further into a period stays quiet.
  static constexpr std::chrono::seconds kLateness{10};

  // Start: a period has just begun (bell, flash). End: the period announced
  // last is no longer in force (the flash stops). The first tick after
  // construction never starts anything: a clock started inside a period is quiet.
  Signal Tick(std::chrono::sys_seconds utc);

  // Whether the period last announced is still in force.
  bool Active() const { return active_; }

 private:
  std::optional<std::chrono::sys_seconds> previous_;
  std::optional<std::chrono::sys_seconds> announced_;  // the start of the period last announced
  bool active_ = false;
};

}  // namespace halyard
