// Whether the system clock under the face can be trusted: one reading of what
// the system says about its own time keeping, and what that reading means.
// The clock never claims more than the system tells it: no offset is shown,
// only the error bound the system gives, and a failed question is "unknown".
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace halyard {

// What one question to the system returned, as the platform's backend saw it.
struct SyncReading {
  enum class Kind {
    Kernel,             // Linux: adjtimex / ntp_adjtime with no modes
    WindowsAdjustment,  // Windows: GetSystemTimeAdjustmentPrecise
    Failed,             // the call exists but did not answer
    Missing,            // the system has no such call
  };
  Kind kind = Kind::Missing;

  // Kernel: the call's return value (the clock state, TIME_OK .. TIME_ERROR)
  // and the kernel's upper bound of the clock's error in microseconds.
  std::int32_t clockState = 0;
  std::int64_t maxErrorMicros = 0;
  // Time since the system started, when the backend could tell; 0 if not.
  std::chrono::seconds sinceBoot{0};

  // WindowsAdjustment: true when the system applies no time adjustment, so no
  // time service is disciplining the clock.
  bool adjustmentDisabled = true;

  // Failed / Missing: what went wrong, in a few words ("adjtimex: Operation not permitted").
  std::string failure;
};

// The kernel's clock states that matter here, as the call returns them.
inline constexpr std::int32_t kKernelTimeError = 5;  // TIME_ERROR: the clock is marked unsynchronised
// At this bound the kernel gives up on the clock: no time service has set it
// for long enough that the error can be anything (its NTP_PHASE_LIMIT).
inline constexpr std::int64_t kKernelUnsyncedMaxErrorMicros = 16'000'000;
// How fast the kernel grows the error bound once nobody sets it: 500 ppm.
inline constexpr std::int64_t kKernelMaxErrorGrowthMicrosPerSecond = 500;

enum class SyncState { Synchronised, NotSynchronised, Unknown };

struct SyncHealth {
  SyncState state = SyncState::Unknown;
  // The one line an operator reads: "synchronised, error at most 12 ms".
  std::string line;
};

// What a reading means. A kernel reading is not synchronised only once its
// error bound has reached the kernel's limit: the unsynchronised status bit
// alone says little (some time services leave it set on a disciplined clock),
// and a bound that climbs to about a second between a service's polls is normal.
SyncHealth ClassifySync(const SyncReading& reading);

// The exit status of a status query: 0 synchronised, 1 not, 2 unknown.
int SyncExitStatus(SyncState state);

// The platform's way of asking (Linux: adjtimex; Windows: the adjustment
// flags). A reading takes one system call and never waits.
class SyncSource {
 public:
  virtual ~SyncSource() = default;
  virtual SyncReading Read() = 0;
};

SyncSource& PlatformSyncSource();

// Keeps the last health and asks the source again only when it is older than
// kSyncReadInterval, so a repaint or a tooltip costs at most one system call
// every ten seconds.
class SyncMonitor {
 public:
  using Instant = std::chrono::steady_clock::time_point;
  static constexpr std::chrono::seconds kSyncReadInterval{10};

  explicit SyncMonitor(SyncSource& source = PlatformSyncSource()) : source_(&source) {}

  const SyncHealth& Health(Instant now);
  // Another source (tests); the next Health reads it.
  void SetSource(SyncSource& source);

 private:
  SyncSource* source_;
  SyncHealth health_;
  Instant lastRead_{};
  bool read_ = false;
};

}  // namespace halyard
