#include <ctime>

#include "platform/time/TimeSource.h"

namespace halyard {
namespace {

class PosixSystemClock final : public SystemClock {
 public:
  ClockReading Read() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    const time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);  // tm_gmtoff is the offset in force at this very instant
    ClockReading reading;
    reading.utc = std::chrono::sys_time<std::chrono::milliseconds>{
        std::chrono::milliseconds{static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000}};
    reading.localOffset = std::chrono::seconds{local.tm_gmtoff};
    return reading;
  }
};

}  // namespace

SystemClock& PlatformClock() {
  static PosixSystemClock clock;
  return clock;
}

}  // namespace halyard
