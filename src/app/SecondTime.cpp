#include "app/SecondTime.h"

#include <cstdlib>
#include <utility>

namespace halyard {
namespace {

constexpr std::string_view kUnknownTime = "--:--:--";

// Two digits, written by hand: this runs at every repaint.
void AppendTwoDigits(std::string& out, long value) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

// Whole minutes of an offset, with its sign apart. Offsets with seconds (the
// local mean times before 1900) are cut to the minute, as the face shows minutes.
struct OffsetParts {
  char sign;
  long hours;
  long minutes;
};
OffsetParts SplitOffset(std::chrono::seconds offset) {
  const long totalMinutes = std::labs(static_cast<long>(offset.count())) / 60;
  return {offset.count() < 0 ? '-' : '+', totalMinutes / 60, totalMinutes % 60};
}

std::string UtcOffsetText(std::chrono::seconds offset) {
  const OffsetParts parts = SplitOffset(offset);
  std::string text = "UTC";
  text += parts.sign;
  AppendTwoDigits(text, parts.hours);
  text += ':';
  AppendTwoDigits(text, parts.minutes);
  return text;
}

}  // namespace

std::string NumericZoneAbbreviation(std::chrono::seconds offset) {
  const OffsetParts parts = SplitOffset(offset);
  std::string text(1, parts.sign);
  AppendTwoDigits(text, parts.hours);
  if (parts.minutes != 0) AppendTwoDigits(text, parts.minutes);
  return text;
}

SecondTime::SecondTime(std::unique_ptr<TimeZone> zone, std::string name, std::string label)
    : zone_(std::move(zone)), name_(std::move(name)), label_(std::move(label)) {}

void SecondTime::Read(std::chrono::sys_seconds utc) {
  state_ = zone_ != nullptr ? zone_->At(utc) : std::nullopt;
  time_.clear();
  if (state_) {
    const auto local = utc + state_->offset;
    const auto ofDay = local - std::chrono::floor<std::chrono::days>(local);
    const std::chrono::hh_mm_ss<std::chrono::seconds> fields{ofDay};
    AppendTwoDigits(time_, static_cast<long>(fields.hours().count()));
    time_ += ':';
    AppendTwoDigits(time_, static_cast<long>(fields.minutes().count()));
    time_ += ':';
    AppendTwoDigits(time_, static_cast<long>(fields.seconds().count()));
  } else {
    time_ = kUnknownTime;
  }
  legend_ = time_;
  if (!label_.empty()) {
    legend_ += ' ';
    legend_ += label_;
  } else if (state_) {
    legend_ += ' ';
    legend_ += state_->abbreviation.empty() ? NumericZoneAbbreviation(state_->offset) : state_->abbreviation;
  }
}

std::string SecondTime::TooltipLine() const {
  std::string line = name_ == kLocalZoneName ? "Local" : name_;
  if (!state_) return line + ": unknown, the zone's rules cannot be read";
  return line + ": " + legend_ + " (" + UtcOffsetText(state_->offset) + ")";
}

}  // namespace halyard
