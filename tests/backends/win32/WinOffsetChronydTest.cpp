// The Windows program's offset measurement, under Wine, against the same
// chronyd the Linux tests use: Wine starts Linux programs as it starts its
// own, so the test starts the server through /bin/sh. On Windows itself
// there is no chronyd and the test is skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/SyncStatusCommand.h"
#include "support/FixedSyncSource.h"

namespace halyard {
namespace {

// Of the ports 12300-12399 this test's own.
constexpr int kPort = 12320;

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Starts a shell command line on the Linux side; true when it could be started.
bool RunShell(const std::string& script) {
  std::string commandLine = "Z:\\bin\\sh -c \"" + script + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

class WinOffsetChronyd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Exists("Z:\\usr\\sbin\\chronyd") || !Exists("Z:\\bin\\sh")) {
      GTEST_SKIP() << "no chronyd to start (Windows itself, or scripts/setup.sh has not installed chrony)";
    }
    folder_ = "/tmp/halyard-wine-chronyd-" + std::to_string(GetCurrentProcessId());
    // Made from this side: Wine does not wait for a Linux program to end.
    ASSERT_TRUE(CreateDirectoryA(("Z:" + folder_).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    std::ofstream("Z:" + folder_ + "/chrony.conf")
        << "port " << kPort << "\nbindaddress 127.0.0.1\nallow 127.0.0.1\ncmdport 0\nlocal stratum 8\n"
        << "pidfile " << folder_ << "/chronyd.pid\ndriftfile " << folder_ << "/drift\n";
    // 2.5 s ahead; -x: the system clock is never touched.
    ASSERT_TRUE(RunShell("exec env LD_PRELOAD=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1) FAKETIME=+2.5s "
                         "/usr/sbin/chronyd -x -d $([ $(id -u) = 0 ] && echo '-u root' || echo -U) -f " + folder_ + "/chrony.conf 2>" + folder_ + "/log"));
    for (int i = 0; i < 100 && !Exists(("Z:" + folder_ + "/chronyd.pid").c_str()); ++i) Sleep(50);
  }
  void TearDown() override {
    if (!folder_.empty()) RunShell("kill $(cat " + folder_ + "/chronyd.pid); sleep 1; rm -rf " + folder_);
  }
  // What chronyd said, for a failure's message.
  std::string ServerLog() const {
    std::ifstream log("Z:" + folder_ + "/log");
    return "chronyd: " + std::string((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  }
  std::string folder_;
};

TEST_F(WinOffsetChronyd, AServerAheadIsMeasuredSlowThroughWinsock) {
  ClockSettings settings;
  settings.ntpServer = "127.0.0.1:" + std::to_string(kPort);
  testing::FixedSyncSource kernel(testing::KernelSynchronised());
  const SyncStatusReport report = ReportSyncStatus(settings, kernel);
  const std::string expected = "synchronised, error at most 2 ms\nOffset from " + settings.ntpServer + ": system clock 2.";
  ASSERT_TRUE(report.line.starts_with(expected)) << report.line << "\n" << ServerLog();
  const double slow = std::stod(report.line.substr(expected.size() - 2));
  EXPECT_NEAR(slow, 2.5, 0.05) << report.line;
  EXPECT_NE(report.line.find(" s slow +/- "), std::string::npos) << report.line;
  EXPECT_EQ(report.exitStatus, 1);
}

}  // namespace
}  // namespace halyard
