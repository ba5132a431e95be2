#include "options/ClockConfiguration.h"

#include <utility>

#include "options/OptionsReport.h"

namespace halyard {

ClockConfiguration LoadClockConfiguration(const OptionsFileLocation& location,
                                          const std::vector<CommandLineSetting>& commandLine,
                                          OptionsFileSource& source, ZoneNameCheck knownZone) {
  ClockConfiguration config;
  config.settings.knownZone = std::move(knownZone);
  if (location.path.empty()) {
    if (location.fromCommandLine && !location.looked.empty()) {
      config.messages.push_back("options file " + PrintablePath(location.looked.front()) +
                                " not found: using the defaults");
    }
  } else {
    const std::string shown = PrintablePath(location.path);
    std::string bytes;
    switch (FetchOptionsFile(location.path, source, bytes)) {
      case OptionsFileSource::ReadResult::Read:
        config.options = ParseClockOptions(bytes);
        ApplyFileSettings(bytes, config.settings);
        for (const SettingProblem& problem : config.settings.problems) {
          config.messages.push_back(shown + ":" + std::to_string(problem.line) + ": " + problem.message);
        }
        if (config.settings.problemsNotKept > 0) {
          config.messages.push_back(shown + ": " + std::to_string(config.settings.problemsNotKept) +
                                    " more problems not shown");
        }
        break;
      case OptionsFileSource::ReadResult::Unreadable:
        config.messages.push_back("cannot read " + shown + ": using the defaults");
        break;
      case OptionsFileSource::ReadResult::Absent:
        break;  // gone since it was found: as if it had never been there
    }
  }
  // The command line's problems are always told: they are few and the user's own.
  for (const CommandLineSetting& setting : commandLine) {
    if (const auto problem = ApplySetting(setting.name, setting.value, 0, config.settings)) {
      config.messages.push_back(EscapeOptionText(setting.argument) + ": " + *problem);
    }
  }
  return config;
}

}  // namespace halyard
