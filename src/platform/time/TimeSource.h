// The current UTC time of day as text, read from an injectable clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace halyard {

// One reading of the platform clock: the instant and the local offset in force
// at that instant, taken together so that a daylight-saving switch between two
// separate reads can never put the time an hour out.
struct ClockReading {
  std::chrono::sys_time<std::chrono::milliseconds> utc;
  std::chrono::seconds localOffset{0};  // local time minus UTC
};

class SystemClock {
 public:
  virtual ~SystemClock() = default;
  virtual ClockReading Read() = 0;
};

// The platform's clock (Windows: GetSystemTimeAsFileTime with the zone
// conversion; POSIX: clock_gettime with localtime_r's tm_gmtoff).
SystemClock& PlatformClock();

class TimeSource {
 public:
  explicit TimeSource(SystemClock& clock = PlatformClock()) : clock_(clock) {}

  // 100-ns intervals since 1601-01-01 00:00:00 of the calendar in use.
  static constexpr std::uint64_t kTicksPerMillisecond = 10'000;

  int SetLocalNow();   // ticks = local wall-clock time
  int LocalToUtc();    // ticks -= the offset of that same reading
  int TimeText(std::string& text) const;  // "HH:MM:SS.mmm"

  std::uint64_t Ticks() const { return ticks_; }
  void SetTicks(std::uint64_t ticks) { ticks_ = ticks; }

 private:
  SystemClock& clock_;
  std::uint64_t ticks_ = 0;
  std::chrono::seconds offset_{0};
};

// Ticks since 1601 for a point on the (proleptic Gregorian) time line, and back.
std::uint64_t TicksSince1601(std::chrono::sys_time<std::chrono::milliseconds> t);

// "HH:MM:SS" of UTC now: the handler's one way to get the time.
std::string UtcTimeText(SystemClock& clock = PlatformClock());

}  // namespace halyard
