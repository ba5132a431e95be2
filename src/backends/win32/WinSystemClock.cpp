#include <windows.h>

#include "platform/time/TimeSource.h"

namespace halyard {
namespace {

std::int64_t FileTimeTicks(const FILETIME& ft) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

class WinSystemClock final : public SystemClock {
 public:
  ClockReading Read() override {
    // One reading of the clock; the local time is derived from it with the zone
    // rules in force at that instant, so the offset and the instant belong together.
    FILETIME utcFile{};
    GetSystemTimeAsFileTime(&utcFile);
    SYSTEMTIME utcFields{}, localFields{};
    FILETIME localFile = utcFile;
    if (FileTimeToSystemTime(&utcFile, &utcFields) &&
        SystemTimeToTzSpecificLocalTime(nullptr, &utcFields, &localFields)) {
      SystemTimeToFileTime(&localFields, &localFile);
    }
    constexpr std::int64_t kTicksTo1970 = 116444736000000000LL;
    const std::int64_t utcTicks = FileTimeTicks(utcFile);
    ClockReading reading;
    reading.utc = std::chrono::sys_time<std::chrono::milliseconds>{
        std::chrono::milliseconds{(utcTicks - kTicksTo1970) / 10'000}};
    // Whole seconds of offset: SystemTimeToFileTime keeps only milliseconds.
    const std::int64_t offsetTicks = FileTimeTicks(localFile) - (utcTicks - utcTicks % 10'000);
    reading.localOffset = std::chrono::seconds{offsetTicks / 10'000'000};
    return reading;
  }
};

}  // namespace

SystemClock& PlatformClock() {
  static WinSystemClock clock;
  return clock;
}

}  // namespace halyard
