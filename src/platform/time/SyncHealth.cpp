#include "platform/time/SyncHealth.h"

namespace halyard {
namespace {

// An upper bound, rounded up so that it stays a bound: "less than 1 ms",
// "at most 12 ms", "at most 1.1 s".
std::string ErrorBoundText(std::int64_t micros) {
  if (micros < 1000) return "less than 1 ms";
  if (micros < 1'000'000) return "at most " + std::to_string((micros + 999) / 1000) + " ms";
  const std::int64_t tenths = (micros + 99'999) / 100'000;
  return "at most " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

// Whole hours (minutes below one), rounded down: never more than is known.
std::string HoursText(std::chrono::seconds span) {
  const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(span).count();
  if (minutes < 60) return std::to_string(minutes) + " min";
  return std::to_string(minutes / 60) + " h";
}

SyncHealth KernelHealth(const SyncReading& reading) {
  if (reading.maxErrorMicros < 0) return {SyncState::Unknown, "unknown: the kernel gave no error bound"};
  if (reading.maxErrorMicros < kKernelUnsyncedMaxErrorMicros) {
    return {SyncState::Synchronised, "synchronised, error " + ErrorBoundText(reading.maxErrorMicros)};
  }
  // The bound grows at a fixed rate from what a time service last set it to
  // (near zero for the usual services), so reaching the limit took about this
  // long; rounded down, it is a time the clock has surely gone unset.
  const std::chrono::seconds toLimit{kKernelUnsyncedMaxErrorMicros / kKernelMaxErrorGrowthMicrosPerSecond};
  if (reading.sinceBoot > std::chrono::seconds{0} && reading.sinceBoot < toLimit) {
    return {SyncState::NotSynchronised,
            "not synchronised: no time service has set the clock since the system started " +
                HoursText(reading.sinceBoot) + " ago"};
  }
  if (reading.sinceBoot >= toLimit) {
    return {SyncState::NotSynchronised,
            "not synchronised: no time service has set the clock for " + HoursText(toLimit) + " or more"};
  }
  return {SyncState::NotSynchronised, "not synchronised: the kernel's error bound has reached its 16 s limit"};
}

}  // namespace

SyncHealth ClassifySync(const SyncReading& reading) {
  switch (reading.kind) {
    case SyncReading::Kind::Kernel:
      return KernelHealth(reading);
    case SyncReading::Kind::WindowsAdjustment:
      // The time service disciplines the clock through the adjustment; Windows gives no bound.
      if (reading.adjustmentDisabled) {
        return {SyncState::NotSynchronised, "not synchronised: no time service is adjusting the clock"};
      }
      return {SyncState::Synchronised, "synchronised: a time service is adjusting the clock (no error bound given)"};
    case SyncReading::Kind::Failed:
    case SyncReading::Kind::Missing:
      break;
  }
  return {SyncState::Unknown,
          "unknown: " + (reading.failure.empty() ? std::string("the system does not say") : reading.failure)};
}

int SyncExitStatus(SyncState state) {
  switch (state) {
    case SyncState::Synchronised:
      return 0;
    case SyncState::NotSynchronised:
      return 1;
    case SyncState::Unknown:
      break;
  }
  return 2;
}

const SyncHealth& SyncMonitor::Health(Instant now) {
  if (!read_ || now - lastRead_ >= kSyncReadInterval || now < lastRead_) {
    health_ = ClassifySync(source_->Read());
    lastRead_ = now;
    read_ = true;
  }
  return health_;
}

void SyncMonitor::SetSource(SyncSource& source) {
  source_ = &source;
  read_ = false;
}

}  // namespace halyard
