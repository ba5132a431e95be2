#include "app/ClockStartup.h"

#include "platform/time/TimeZone.h"
#include "platform/window/OptionsPath.h"

namespace halyard {

OptionsFileLocation LocateClockOptionsFile(const CommandLine& commandLine) {
  OptionsSearchFacts facts = PlatformOptionsSearch();
  facts.commandLineFile = commandLine.optionsFile;
  OptionsFileSource& source = PlatformOptionsFile();
  return LocateOptionsFile(facts, [&source](const std::string& path) { return OptionsFileExists(path, source); });
}

OptionsFileLocation LocateClockOptionsFileFromTool() {
  OptionsFileSource& source = PlatformOptionsFile();
  const auto exists = [&source](const std::string& path) { return OptionsFileExists(path, source); };
  OptionsSearchFacts facts = PlatformOptionsSearch();
  facts.programFolder = ClockProgramFolder(facts.programFolder, ClockProgramFileName(), exists);
  return LocateOptionsFile(facts, exists);
}

ClockConfiguration ConfigureClock(const CommandLine& commandLine) {
  ClockConfiguration config =
      LoadClockConfiguration(LocateClockOptionsFile(commandLine), commandLine.settings, PlatformOptionsFile(),
                             &PlatformKnowsTimeZone);
  config.messages.insert(config.messages.begin(), commandLine.problems.begin(), commandLine.problems.end());
  return config;
}

}  // namespace halyard
