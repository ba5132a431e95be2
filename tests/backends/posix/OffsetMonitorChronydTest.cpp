// The offset measured against a real chronyd, its clock shifted by libfaketime.
#include <gtest/gtest.h>

#include "app/ClockTooltip.h"
#include "app/ClockWindowHandler.h"
#include "app/SyncStatusCommand.h"
#include "backends/posix/ChronydServer.h"
#include "platform/time/OffsetMonitor.h"
#include "support/TestWindow.h"
#include "support/FixedSyncSource.h"

namespace halyard {
namespace {

using testing::ChronydServer;
using State = OffsetStatus::State;

// Ports 12300-12399 are this test's.
constexpr std::uint16_t kAheadPort = 12310;
constexpr std::uint16_t kBehindPort = 12311;
constexpr std::uint16_t kUnsynchronisedPort = 12312;
constexpr std::uint16_t kClosedPort = 12313;
// An exchange on the loopback is far quicker; libfaketime's own reading jitters a little.
constexpr double kTolerance = 0.05;

std::unique_ptr<OffsetMonitor> Monitor(const std::string& address) {
  return std::make_unique<OffsetMonitor>(*ParseServerName(address), address, MakePlatformSntpTransport(),
                                         PlatformClock());
}

class OffsetMonitorChronyd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    if (!ChronydServer::Installed(why)) GTEST_SKIP() << why;
  }
};

TEST_F(OffsetMonitorChronyd, ServersAheadAndBehindAreMeasuredSlowAndFast) {
  ChronydServer ahead(kAheadPort, "+2.5s");
  ChronydServer behind(kBehindPort, "-0.3s");
  ASSERT_TRUE(ahead.Running() && behind.Running());
  // The bursts at once: the clock's monitors and the command's own.
  const auto monitor = Monitor(behind.Address());
  const auto slowMonitor = Monitor(ahead.Address());
  ClockSettings settings;
  settings.ntpServer = ahead.Address();
  testing::FixedSyncSource kernel(testing::KernelSynchronised());
  const SyncStatusReport report = ReportSyncStatus(settings, kernel);
  const OffsetStatus fast = monitor->WaitForFirstBurst(std::chrono::seconds{10});

  // The kernel's line, then the measured one; beyond the limit, so status 1.
  EXPECT_EQ(report.exitStatus, 1) << report.line;
  EXPECT_TRUE(report.line.starts_with("synchronised, error at most 2 ms\nOffset from 127.0.0.1:12310: system clock 2.5"))
      << report.line;
  EXPECT_NE(report.line.find(" s slow +/- 0.00"), std::string::npos) << report.line;

  ASSERT_EQ(fast.state, State::Measured) << OffsetStatusLine(fast);
  EXPECT_NEAR(fast.sample.clockMinusServer, 0.3, kTolerance);
  EXPECT_LT(fast.sample.uncertainty, 0.02);
  EXPECT_EQ(fast.address, "127.0.0.1");
  EXPECT_NE(OffsetStatusLine(fast).find(" s fast +/- 0.00"), std::string::npos) << OffsetStatusLine(fast);
  // Within the default half second: no mark.
  EXPECT_FALSE(OffsetToMark(fast, ClockSettings{}.offsetLimit));
  EXPECT_TRUE(OffsetToMark(fast, 0.2));

  // The clock's window: with sync-check on the mark reads the offset, and
  // the tooltip gives it under the system clock's line.
  slowMonitor->WaitForFirstBurst(std::chrono::seconds{10});
  CurrentClockOptions() = DefaultClockOptions();
  CurrentClockSettings().ntpServer = ahead.Address();
  ClockOffsetMonitor() = slowMonitor.get();
  for (const bool syncCheck : {false, true}) {
    CurrentClockSettings().syncCheck = syncCheck;
    testing::TestWindow window;
    ClockWindowHandler(&window, kEventInitialise, 0, 0);
    std::vector<std::string> printed;
    for (const auto& op : window.OpsNamed("PrintText")) printed.push_back(op.text);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), "\xE2\x88\x92" "2.5 s"), syncCheck ? 1 : 0);
    ClockWindowHandler(&window, kEventDestroy, 0, 0);
  }
  const std::vector<std::string> tooltip = CurrentClockTooltipLines();
  ASSERT_GE(tooltip.size(), 2u);
  EXPECT_TRUE(tooltip[1].starts_with("Offset from 127.0.0.1:12310: system clock 2.")) << tooltip[1];
  EXPECT_TRUE(tooltip[1].ends_with("measured just now")) << tooltip[1];
  ClockOffsetMonitor() = nullptr;
  CurrentClockSettings() = {};
}

TEST_F(OffsetMonitorChronyd, AnUnsynchronisedServerGivesNoTimeAndAClosedPortNoAnswer) {
  ChronydServer unsynchronised(kUnsynchronisedPort, "", false);
  ASSERT_TRUE(unsynchronised.Running());
  const auto refusing = Monitor("127.0.0.1:" + std::to_string(kClosedPort));
  const auto monitor = Monitor(unsynchronised.Address());
  // Nothing waits on the network: the status is there before any answer.
  EXPECT_EQ(refusing->Status().state, State::Measuring);

  const OffsetStatus unsynced = monitor->WaitForFirstBurst(std::chrono::seconds{10});
  EXPECT_EQ(unsynced.state, State::NotSynchronised) << OffsetStatusLine(unsynced);
  EXPECT_FALSE(OffsetToMark(unsynced, 0.05));

  const OffsetStatus silent = refusing->WaitForFirstBurst(std::chrono::seconds{10});
  EXPECT_EQ(silent.state, State::NoAnswer) << OffsetStatusLine(silent);
  EXPECT_TRUE(OffsetStatusLine(silent, std::chrono::steady_clock::now()).starts_with("no answer from 127.0.0.1:12313 since "));
  EXPECT_FALSE(OffsetToMark(silent, 0.05));
}

}  // namespace
}  // namespace halyard
