// When to ask the time server: at start-up, then every 16 minutes, never more
// than one burst per 64 seconds whatever happens, less often when the server
// asks for it (RATE), and never again once it refuses (DENY, RSTR).
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace halyard {

class SntpSchedule {
 public:
  using Instant = std::chrono::steady_clock::time_point;
  static constexpr std::chrono::seconds kInterval{16 * 60};
  static constexpr std::chrono::seconds kMinimumSpacing{64};
  // A server that keeps saying RATE is asked at most this rarely, not never.
  static constexpr std::chrono::seconds kLongestInterval{36 * 3600};

  // When the next burst is due; none once the server has refused.
  std::optional<Instant> NextBurst() const;
  void BurstStarted(Instant now);
  // A burst as soon as the spacing allows (the system clock was set).
  void AskSoon();
  // What a kiss-o'-death reply means for the schedule.
  void Kiss(std::string_view code);

  bool Refused() const { return refused_; }
  std::chrono::seconds Interval() const { return interval_; }

 private:
  std::chrono::seconds interval_ = kInterval;
  std::optional<Instant> lastBurst_;
  bool soon_ = false;
  bool refused_ = false;
};

}  // namespace halyard
