#include "platform/time/SyncHealth.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

using namespace std::chrono;

SyncReading Kernel(std::int64_t maxErrorMicros, std::int32_t state = 0, seconds sinceBoot = hours{24 * 20}) {
  SyncReading r;
  r.kind = SyncReading::Kind::Kernel;
  r.clockState = state;
  r.maxErrorMicros = maxErrorMicros;
  r.sinceBoot = sinceBoot;
  return r;
}

SyncReading Windows(bool adjustmentDisabled) {
  SyncReading r;
  r.kind = SyncReading::Kind::WindowsAdjustment;
  r.adjustmentDisabled = adjustmentDisabled;
  return r;
}

SyncReading Failure(SyncReading::Kind kind, const char* failure) {
  SyncReading r;
  r.kind = kind;
  r.failure = failure;
  return r;
}

TEST(SyncHealth, EachReadingMeansOneStateAndOneLine) {
  struct Row {
    const char* what;
    SyncReading reading;
    SyncState state;
    const char* line;
  };
  const Row rows[] = {
      {"bound 0", Kernel(0), SyncState::Synchronised, "synchronised, error less than 1 ms"},
      {"bound 12 ms", Kernel(11'200), SyncState::Synchronised, "synchronised, error at most 12 ms"},
      {"a poll's worth of growth", Kernel(1'020'000), SyncState::Synchronised, "synchronised, error at most 1.1 s"},
      {"just under the limit", Kernel(15'900'000), SyncState::Synchronised, "synchronised, error at most 15.9 s"},
      {"at the limit, long up", Kernel(16'000'000), SyncState::NotSynchronised,
       "not synchronised: no time service has set the clock for 8 h or more"},
      {"at the limit, just booted", Kernel(16'000'000, 5, minutes{130}), SyncState::NotSynchronised,
       "not synchronised: no time service has set the clock since the system started 2 h ago"},
      {"at the limit, boot time unknown", Kernel(16'000'000, 5, seconds{0}), SyncState::NotSynchronised,
       "not synchronised: the kernel's error bound has reached its 16 s limit"},
      // A service that leaves the unsynchronised flag set on a disciplined clock.
      {"TIME_ERROR with a small bound", Kernel(25'000, kKernelTimeError), SyncState::Synchronised,
       "synchronised, error at most 25 ms"},
      {"no bound", Kernel(-1), SyncState::Unknown, "unknown: the kernel gave no error bound"},
      {"EPERM", Failure(SyncReading::Kind::Failed, "adjtimex: Operation not permitted"), SyncState::Unknown,
       "unknown: adjtimex: Operation not permitted"},
      {"Windows adjusting", Windows(false), SyncState::Synchronised,
       "synchronised: a time service is adjusting the clock (no error bound given)"},
      {"Windows not adjusting", Windows(true), SyncState::NotSynchronised,
       "not synchronised: no time service is adjusting the clock"},
      {"Windows call failed", Failure(SyncReading::Kind::Failed, "GetSystemTimeAdjustmentPrecise failed (error 5)"),
       SyncState::Unknown, "unknown: GetSystemTimeAdjustmentPrecise failed (error 5)"},
      {"function missing", Failure(SyncReading::Kind::Missing, ""), SyncState::Unknown,
       "unknown: the system does not say"},
  };
  for (const Row& row : rows) {
    const SyncHealth health = ClassifySync(row.reading);
    EXPECT_EQ(health.state, row.state) << row.what;
    EXPECT_EQ(health.line, row.line) << row.what;
  }
  EXPECT_EQ(SyncExitStatus(SyncState::Synchronised), 0);
  EXPECT_EQ(SyncExitStatus(SyncState::NotSynchronised), 1);
  EXPECT_EQ(SyncExitStatus(SyncState::Unknown), 2);
}

class CountingSource final : public SyncSource {
 public:
  SyncReading Read() override {
    ++reads;
    return Kernel(reads * 1000);
  }
  int reads = 0;
};

TEST(SyncMonitor, AsksTheSystemAtMostEveryTenSeconds) {
  CountingSource source;
  SyncMonitor monitor(source);
  const SyncMonitor::Instant start{hours{1}};
  EXPECT_EQ(monitor.Health(start).line, "synchronised, error at most 1 ms");
  monitor.Health(start + milliseconds{9'999});
  EXPECT_EQ(source.reads, 1);
  EXPECT_EQ(monitor.Health(start + seconds{10}).line, "synchronised, error at most 2 ms");
  monitor.Health(start - seconds{1});  // a time before the last read is not trusted to be recent
  EXPECT_EQ(source.reads, 3);
  CountingSource other;
  monitor.SetSource(other);
  monitor.Health(start - seconds{1});
  EXPECT_EQ(other.reads, 1);
}

// The real question on this machine: any answer will do, but the call must work.
TEST(SyncHealth, ThePlatformAnswers) {
  const SyncReading reading = PlatformSyncSource().Read();
  const SyncHealth health = ClassifySync(reading);
#ifdef _WIN32
  EXPECT_NE(reading.kind, SyncReading::Kind::Failed) << health.line;
  EXPECT_NE(reading.kind, SyncReading::Kind::Kernel);
#else
  ASSERT_EQ(reading.kind, SyncReading::Kind::Kernel) << health.line;
  EXPECT_GE(reading.maxErrorMicros, 0);
  EXPECT_GT(reading.sinceBoot.count(), 0);
#endif
  std::printf("[ info     ] this machine: %s\n", health.line.c_str());
}

}  // namespace
}  // namespace halyard
