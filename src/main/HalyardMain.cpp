// The clock on Linux: an X11 window.
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/ClockStartup.h"
#include "app/RunClock.h"
#include "app/SyncStatusCommand.h"
#include "platform/window/ClockWindowPlatform.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/ProgramArguments.h"

#ifdef HALYARD_TEST_CLOCK
#include <chrono>

#include "app/ClockWindowHandler.h"
#include "platform/time/TimeSource.h"

namespace {

// Test build only (never installed): HALYARD_TEST_CLOCK_OFFSET=N shows the
// time N whole seconds ahead of the system's, so a test can put the clock
// just before a silent period; the ticks keep the system clock's phase.
class OffsetClock final : public halyard::SystemClock {
 public:
  explicit OffsetClock(std::chrono::seconds offset) : offset_(offset) {}
  halyard::ClockReading Read() override {
    halyard::ClockReading reading = halyard::PlatformClock().Read();
    reading.utc += offset_;
    return reading;
  }

 private:
  std::chrono::seconds offset_;
};

void UseTestClock() {
  const char* offset = std::getenv("HALYARD_TEST_CLOCK_OFFSET");
  if (offset == nullptr) return;
  static OffsetClock clock(std::chrono::seconds{std::strtoll(offset, nullptr, 10)});
  halyard::SetHandlerClock(&clock);
}

}  // namespace
#endif

int main(int argc, char** argv) {
  // Texts are bytes in the locale's character set, as on Windows in the ANSI code page.
  std::setlocale(LC_CTYPE, "");
  const halyard::CommandLine commandLine = halyard::ParseCommandLine(halyard::ProgramArguments(argc, argv));
  switch (commandLine.action) {
    case halyard::CommandLine::Action::Help:
      std::fputs(halyard::ClockUsage(halyard::DescribeOptionsPlaces(halyard::PlatformOptionsSearch().userPlaces)).c_str(),
                 stdout);
      return 0;
    case halyard::CommandLine::Action::Version:
      std::printf("%s\n", halyard::VersionText("halyard").c_str());
      return 0;
    case halyard::CommandLine::Action::SyncStatus: {
      const halyard::SyncStatusReport report = halyard::ReportSyncStatus();
      std::printf("%s\n", report.line.c_str());
      return report.exitStatus;
    }
    case halyard::CommandLine::Action::Run:
      break;
  }
  // Nothing on the command line or in the file stops the clock: each problem
  // is one line here, and the defaults stand in.
  const halyard::ClockConfiguration configuration = halyard::ConfigureClock(commandLine);
  for (const std::string& message : configuration.messages) std::fprintf(stderr, "halyard: %s\n", message.c_str());

#ifdef HALYARD_TEST_CLOCK
  UseTestClock();
#endif
  std::unique_ptr<halyard::ClockWindowPlatform> window = halyard::MakeClockWindowPlatform();
  if (window == nullptr) return 1;  // the platform has said why on stderr
  return halyard::RunClock(*window, configuration);
}
