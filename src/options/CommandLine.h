// The clock's command line: --help, --version, --options FILE and the
// settings as --name=value or --name value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halyard {

struct CommandLineSetting {
  std::string name;
  std::string value;
  std::string argument;  // as given, for messages: "--scale=9" or "--scale 9"

  bool operator==(const CommandLineSetting&) const = default;
};

struct CommandLine {
  enum class Action { Run, Help, Version, SyncStatus };
  Action action = Action::Run;
  std::optional<std::string> optionsFile;
  std::vector<CommandLineSetting> settings;  // in the order given; a later one wins
  std::vector<std::string> problems;         // unknown or incomplete arguments, one line each

  bool operator==(const CommandLine&) const = default;
};

// Never fails: an argument it does not know is a problem to report and
// otherwise ignored, so a stray argument from a launcher cannot stop the clock.
// Values of known settings are checked later, with those of the file.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// "halyard 1.1.0", "halyard-options 1.1.0": the version is the project's.
std::string VersionText(std::string_view program);

// The settings table as --help lines: name, accepted values, default, help.
std::string SettingsHelp();

// The clock's usage text. `placesText` is DescribeOptionsPlaces for the platform.
std::string ClockUsage(std::string_view placesText);

}  // namespace halyard
