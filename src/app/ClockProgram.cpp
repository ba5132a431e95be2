#include "app/ClockProgram.h"

#include "app/ClockStartup.h"
#include "app/RunClock.h"
#include "options/Reporter.h"
#include "platform/window/OptionsPath.h"

namespace halyard {

int RunClockProgram(const std::vector<std::string>& args, ProgramAnswers& answers,
                    const ClockWindowMaker& makeWindow) {
  const CommandLine commandLine = ParseCommandLine(args);
  switch (commandLine.action) {
    case CommandLine::Action::Help:
      answers.Show(ClockUsage(DescribeOptionsPlaces(PlatformOptionsSearch().userPlaces)));
      return 0;
    case CommandLine::Action::Version:
      answers.Show(VersionText("halyard"));
      return 0;
    case CommandLine::Action::SyncStatus: {
      // The settings name the time server, if any, and the offset limit.
      const ClockConfiguration configuration = ConfigureClock(commandLine);
      for (const std::string& message : configuration.messages) Reporter::Report(message);
      const SyncStatusReport report = ReportSyncStatus(configuration.settings.settings);
      answers.ShowSyncStatus(report);
      return report.exitStatus;
    }
    case CommandLine::Action::Run:
      break;
  }
  // Nothing on the command line or in the file stops the clock: each problem
  // is one line on stderr, and the defaults stand in.
  const ClockConfiguration configuration = ConfigureClock(commandLine);
  for (const std::string& message : configuration.messages) Reporter::Report(message);
  const std::unique_ptr<ClockWindowPlatform> window = makeWindow();
  if (window == nullptr) return 1;
  return RunClock(*window, configuration);
}

}  // namespace halyard
