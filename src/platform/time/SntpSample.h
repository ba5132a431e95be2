// One exchange with a time server turned into a measurement of the system
// clock, and the choice among the samples of a burst.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace halyard {

// The face's clock reads whole milliseconds: T1 and T4 may each be up to this
// much early, and the offset as wrong.
inline constexpr double kClockReadingResolution = 0.001;

struct SntpSample {
  // The system clock minus the server: positive when the system clock is fast.
  double clockMinusServer = 0;
  double delay = 0;        // round trip without the server's own time, seconds
  double uncertainty = 0;  // the offset is right to within this, seconds
};

// From T1 (request sent, system clock), T2 (received, server), T3 (answered,
// server) and T4 (answer received, system clock), with the server's own root
// delay and dispersion. The offset is taken as if both ways took equally
// long, so half the round trip is the most that assumption can be wrong by;
// the server's own distance from true time and the reading resolution add
// to it.
SntpSample MeasureSample(std::uint64_t t1, std::uint64_t t2, std::uint64_t t3, std::uint64_t t4, double rootDelay,
                         double rootDispersion, double readingResolution = kClockReadingResolution);

// The sample with the least delay: the one the network disturbed least.
std::optional<SntpSample> BestOfBurst(std::span<const SntpSample> samples);

// True when the offset is beyond `limit` by more than its uncertainty, so the
// clock is surely that far off.
bool OffsetBeyondLimit(const SntpSample& sample, double limit);

}  // namespace halyard
