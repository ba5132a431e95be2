#include <ctime>

#include "platform/time/TimeSource.h"

namespace halyard {
namespace {

// The offset in force at `seconds`. Zones change their offset only on a whole
// minute, so one lookup serves every reading within that minute: the zone
// lookup takes a lock and walks the zone's rules, twice on every tick.
long LocalOffsetAt(time_t seconds) {
  thread_local time_t minute = -1;  // no reading yet: no minute starts at -1 s
  thread_local long offset = 0;
  const time_t start = seconds - ((seconds % 60) + 60) % 60;
  if (start != minute) {
    tm local{};
    localtime_r(&seconds, &local);  // tm_gmtoff is the offset in force at this very instant
    offset = local.tm_gmtoff;
    minute = start;
  }
  return offset;
}

class PosixSystemClock final : public SystemClock {
 public:
  ClockReading Read() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    ClockReading reading;
    reading.utc = std::chrono::sys_time<std::chrono::milliseconds>{
        std::chrono::milliseconds{static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000}};
    reading.localOffset = std::chrono::seconds{LocalOffsetAt(now.tv_sec)};
    return reading;
  }
};

}  // namespace

SystemClock& PlatformClock() {
  static PosixSystemClock clock;
  return clock;
}

}  // namespace halyard
