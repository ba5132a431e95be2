#include "platform/time/SntpSchedule.h"

#include <algorithm>

namespace halyard {

std::optional<SntpSchedule::Instant> SntpSchedule::NextBurst() const {
  if (refused_) return std::nullopt;
  if (!lastBurst_) return Instant{};  // at once
  return *lastBurst_ + (soon_ ? std::chrono::seconds{kMinimumSpacing} : std::max(interval_, kMinimumSpacing));
}

void SntpSchedule::BurstStarted(Instant now) {
  lastBurst_ = now;
  soon_ = false;
}

void SntpSchedule::AskSoon() { soon_ = true; }

void SntpSchedule::Kiss(std::string_view code) {
  if (code == "RATE") {
    interval_ = std::min(interval_ * 2, kLongestInterval);
    soon_ = false;
  } else if (code == "DENY" || code == "RSTR") {
    refused_ = true;
  }
}

}  // namespace halyard
