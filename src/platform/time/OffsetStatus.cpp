#include "platform/time/OffsetStatus.h"

#include <cmath>
#include <cstdio>

namespace halyard {
namespace {

std::string Seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", value);
  return text;
}

// An uncertainty is a bound: rounded up to the millisecond, never down.
std::string Bound(double value) { return Seconds(std::ceil(value * 1000 - 1e-9) / 1000); }

std::string HoursMinutes(std::chrono::sys_seconds t) {
  const auto day = std::chrono::floor<std::chrono::days>(t);
  const std::chrono::hh_mm_ss<std::chrono::seconds> time(t - day);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()));
  return text;
}

// A one-off query has asked once: "since" would say nothing.
std::string Since(const OffsetStatus& status, std::optional<std::chrono::steady_clock::time_point> now) {
  return now ? " since " + HoursMinutes(status.silentSince) + " UTC" : "";
}

std::string Named(const OffsetStatus& status) {
  const bool sameAsName = status.address.empty() || status.server == status.address ||
                          status.server.starts_with(status.address + ":") ||
                          status.server.starts_with("[" + status.address + "]");
  return sameAsName ? status.server : status.server + " (" + status.address + ")";
}

std::string Offset(const SntpSample& sample) {
  const double shown = std::round(sample.clockMinusServer * 1000) / 1000;
  if (shown == 0) return "system clock on time +/- " + Bound(sample.uncertainty);
  return "system clock " + Seconds(std::abs(shown)) + (shown > 0 ? " fast" : " slow") + " +/- " +
         Bound(sample.uncertainty);
}

std::string Age(std::chrono::steady_clock::duration age) {
  const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(age).count();
  if (minutes < 1) return "measured just now";
  if (minutes < 120) return "measured " + std::to_string(minutes) + " min ago";
  return "measured " + std::to_string(minutes / 60) + " h ago";
}

}  // namespace

std::string OffsetStatusLine(const OffsetStatus& status, std::optional<std::chrono::steady_clock::time_point> now) {
  switch (status.state) {
    case OffsetStatus::State::Measuring:
      return "Offset from " + status.server + ": measuring" + (status.detail.empty() ? "" : " again, " + status.detail);
    case OffsetStatus::State::Measured: {
      std::string line = "Offset from " + Named(status) + ": " + Offset(status.sample);
      if (now) line += ", " + Age(*now - status.measuredAt);
      return line;
    }
    case OffsetStatus::State::NoAnswer:
      return "no answer from " + Named(status) + Since(status, now);
    case OffsetStatus::State::NoAddress:
      return "no address for " + status.server + Since(status, now) + (status.detail.empty() ? "" : ": " + status.detail);
    case OffsetStatus::State::NotSynchronised:
      return Named(status) + " answers but is not synchronised: no offset measured";
    case OffsetStatus::State::Refused:
      return status.server + " refuses (" + status.detail + "): not asked again";
  }
  return {};
}

bool SystemClockSetSince(const OffsetStatus& status, std::chrono::sys_time<std::chrono::milliseconds> utcNow,
                         std::chrono::steady_clock::time_point now) {
  if (status.state != OffsetStatus::State::Measured) return false;
  using Seconds = std::chrono::duration<double>;
  const double steady = std::chrono::duration_cast<Seconds>(now - status.measuredAt).count();
  const double system = std::chrono::duration_cast<Seconds>(utcNow - status.measuredAtUtc).count();
  // Slewing moves a clock by at most 500 ppm; a tenth of a second on top
  // covers the readings' own jitter.
  constexpr double kSlewRate = 500e-6;
  constexpr double kSlack = 0.1;
  return std::abs(system - steady) > kSlack + kSlewRate * std::abs(steady);
}

std::optional<double> OffsetToMark(const OffsetStatus& status, double limit) {
  if (status.state != OffsetStatus::State::Measured || !OffsetBeyondLimit(status.sample, limit)) return std::nullopt;
  return status.sample.clockMinusServer;
}

}  // namespace halyard
