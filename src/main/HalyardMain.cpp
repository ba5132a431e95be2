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

  std::unique_ptr<halyard::ClockWindowPlatform> window = halyard::MakeClockWindowPlatform();
  if (window == nullptr) return 1;  // the platform has said why on stderr
  return halyard::RunClock(*window, configuration);
}
