// What is known of the system clock's offset from the named time server, and
// how it is put to the operator. "No answer" is never a claim about the clock.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/time/SntpSample.h"

namespace halyard {

struct OffsetStatus {
  enum class State {
    Measuring,        // the first burst has not ended
    Measured,         // `sample` holds the last burst's best sample
    NoAnswer,         // nothing usable came back since `silentSince`
    NoAddress,        // the name gives no address (`detail` says why) since `silentSince`
    NotSynchronised,  // the server answers but has no time to give
    Refused,          // the server said DENY or RSTR (`detail`); it is not asked again
  };
  State state = State::Measuring;
  std::string server;   // as the operator wrote it
  std::string address;  // the address that answered or was asked, numeric
  SntpSample sample;
  std::chrono::steady_clock::time_point measuredAt{};  // Measured: when the sample was taken,
  std::chrono::sys_time<std::chrono::milliseconds> measuredAtUtc{};  // on both clocks
  std::chrono::sys_seconds silentSince{};              // NoAnswer, NoAddress: first burst without an answer
  std::string detail;  // Measuring again: why

  bool operator==(const OffsetStatus&) const = default;
};

// The tooltip's line: "Offset from ntp.example (192.0.2.7): system clock
// 0.012 s fast +/- 0.004 s, measured 3 min ago", "no answer from ntp.example
// since 14:02 UTC", "ntp.example refuses (DENY): not asked again". Without
// `now` the age and the "since" are left out (a one-off query).
std::string OffsetStatusLine(const OffsetStatus& status,
                             std::optional<std::chrono::steady_clock::time_point> now = std::nullopt);

// True when the system clock has been set since the measurement, so that it
// no longer holds: the system clock has moved further from the steady clock
// than a time service's slewing could have moved it.
bool SystemClockSetSince(const OffsetStatus& status, std::chrono::sys_time<std::chrono::milliseconds> utcNow,
                         std::chrono::steady_clock::time_point now);

// The offset the face marks with sync-check on: the last measurement when it
// is beyond `limit` by more than its uncertainty; none otherwise.
std::optional<double> OffsetToMark(const OffsetStatus& status, double limit);

}  // namespace halyard
