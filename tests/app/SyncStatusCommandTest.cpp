#include "app/SyncStatusCommand.h"

#include <gtest/gtest.h>

#include "app/ClockTooltip.h"
#include "app/ClockWindowHandler.h"
#include "face/SyncMark.h"
#include "support/TestWindow.h"
#include "support/FixedSyncSource.h"

namespace halyard {
namespace {

using namespace std::chrono;

using FixedSource = testing::FixedSyncSource;

SyncReading KernelBound(std::int64_t micros) {
  SyncReading r;
  r.kind = SyncReading::Kind::Kernel;
  r.maxErrorMicros = micros;
  r.sinceBoot = hours{100};
  return r;
}

TEST(SyncStatusCommand, OneLineAndTheExitStatusForEachState) {
  SyncReading missing;
  missing.failure = "no way to ask";
  const struct {
    SyncReading reading;
    const char* line;
    int status;
  } rows[] = {
      {KernelBound(11'200), "synchronised, error at most 12 ms", 0},
      {KernelBound(16'000'000), "not synchronised: no time service has set the clock for 8 h or more", 1},
      {missing, "unknown: no way to ask", 2},
  };
  for (const auto& row : rows) {
    FixedSource source(row.reading);
    const SyncStatusReport report = ReportSyncStatus(source);
    EXPECT_EQ(report.line, row.line);
    EXPECT_EQ(report.exitStatus, row.status) << row.line;
    EXPECT_EQ(ClockTooltipLines(ClassifySync(row.reading)), std::vector<std::string>{"System clock: " + report.line});
  }
}

// The handler marks the face only with the setting on and only when the clock
// is not synchronised; with the setting off it does not even ask.
TEST(SyncStatusCommand, TheHandlerMarksTheFaceOnlyWhenAskedAndUnsynchronised) {
  FixedSource unsynced(KernelBound(16'000'000));
  FixedSource synced(KernelBound(5'000));
  const struct {
    bool setting;
    FixedSource* source;
    bool marked;
  } rows[] = {{false, &unsynced, false}, {true, &synced, false}, {true, &unsynced, true}};
  for (const auto& row : rows) {
    testing::TestWindow window;
    CurrentClockOptions() = DefaultClockOptions();
    ClockSyncMonitor().SetSource(*row.source);
    CurrentClockSettings().syncCheck = row.setting;
    ClockWindowHandler(&window, kEventInitialise, 0, 0);
    ClockWindowHandler(&window, kEventTimer, kClockTimerId, 0);
    bool marked = false;
    for (const CanvasOp& op : window.OpsNamed("PrintText")) marked = marked || op.text == kSyncMarkText;
    EXPECT_EQ(marked, row.marked) << row.setting;
    if (!row.setting) {
      EXPECT_EQ(row.source->reads, 0);
    }
    ClockWindowHandler(&window, kEventDestroy, 0, 0);
  }
  CurrentClockSettings().syncCheck = false;
  ClockSyncMonitor().SetSource(PlatformSyncSource());
}

}  // namespace
}  // namespace halyard
