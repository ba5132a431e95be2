#include "platform/time/TimeSource.h"


namespace halyard {

using std::chrono::milliseconds;

namespace {
constexpr std::chrono::sys_days kEpoch1601 = std::chrono::year{1601} / std::chrono::January / 1;
constexpr std::uint64_t kTicksPerSecond = 10'000'000;
}  // namespace

std::uint64_t TicksSince1601(std::chrono::sys_time<milliseconds> t) {
  const auto sinceEpoch = t - std::chrono::time_point_cast<milliseconds>(kEpoch1601);
  if (sinceEpoch.count() < 0) return 0;  // the calendar starts in 1601
  return static_cast<std::uint64_t>(sinceEpoch.count()) * TimeSource::kTicksPerMillisecond;
}

int TimeSource::SetLocalNow() {
  const ClockReading reading = clock_.Read();
  offset_ = reading.localOffset;
  ticks_ = TicksSince1601(reading.utc + offset_);
  return 0;
}

int TimeSource::LocalToUtc() {
  // The offset comes from the same reading as the local time, so a change of
  // daylight-saving time between two reads cannot shift the result.
  const std::int64_t shift = static_cast<std::int64_t>(offset_.count()) *
                             static_cast<std::int64_t>(kTicksPerSecond);
  if (shift >= 0) {
    ticks_ = ticks_ >= static_cast<std::uint64_t>(shift) ? ticks_ - static_cast<std::uint64_t>(shift) : 0;
  } else {
    ticks_ += static_cast<std::uint64_t>(-shift);
  }
  offset_ = std::chrono::seconds{0};
  return 0;
}

int TimeSource::TimeText(std::string& text) const {
  // Sub-millisecond ticks are dropped, never rounded.
  const milliseconds sinceEpoch{static_cast<std::int64_t>(ticks_ / kTicksPerMillisecond)};
  const auto instant = std::chrono::time_point_cast<milliseconds>(kEpoch1601) + sinceEpoch;
  const std::chrono::hh_mm_ss<milliseconds> fields{instant - std::chrono::floor<std::chrono::days>(instant)};
  // Written digit by digit: this runs twice a second, and the general
  // formatter's code is cold by then.
  const auto digits = [](char* at, long value, int count) {
    for (int i = count - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
  };
  char buffer[12] = {'0', '0', ':', '0', '0', ':', '0', '0', '.', '0', '0', '0'};
  digits(buffer, static_cast<long>(fields.hours().count()), 2);
  digits(buffer + 3, static_cast<long>(fields.minutes().count()), 2);
  digits(buffer + 6, static_cast<long>(fields.seconds().count()), 2);
  digits(buffer + 9, static_cast<long>(fields.subseconds().count()), 3);
  text.assign(buffer, sizeof buffer);
  return 0;
}

std::string UtcTimeText(SystemClock& clock) {
  TimeSource source(clock);
  source.SetLocalNow();
  source.LocalToUtc();
  std::string text;
  source.TimeText(text);
  return text.substr(0, 8);
}

}  // namespace halyard
