#include "platform/time/SntpSample.h"

#include <algorithm>
#include <cmath>

#include "platform/time/SntpPacket.h"

namespace halyard {

SntpSample MeasureSample(std::uint64_t t1, std::uint64_t t2, std::uint64_t t3, std::uint64_t t4, double rootDelay,
                         double rootDispersion, double readingResolution) {
  const double serverAhead = (NtpDifference(t2, t1) + NtpDifference(t3, t4)) / 2;
  const double delay = NtpDifference(t4, t1) - NtpDifference(t3, t2);
  SntpSample sample;
  sample.clockMinusServer = -serverAhead;
  sample.delay = delay;
  // A whole-millisecond clock can make a short round trip look negative.
  sample.uncertainty = std::max(delay, 0.0) / 2 + rootDelay / 2 + rootDispersion + readingResolution;
  return sample;
}

std::optional<SntpSample> BestOfBurst(std::span<const SntpSample> samples) {
  if (samples.empty()) return std::nullopt;
  return *std::min_element(samples.begin(), samples.end(),
                           [](const SntpSample& a, const SntpSample& b) { return a.delay < b.delay; });
}

bool OffsetBeyondLimit(const SntpSample& sample, double limit) {
  return std::abs(sample.clockMinusServer) - sample.uncertainty > limit;
}

}  // namespace halyard
