// A program's command line as every HALYARD program spells it: --help,
// --version, --options FILE, the settings as --name=value or --name value,
// and the program's own arguments.
#pragma once

#include <optional>
#include <span>
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

// An argument of one program beside the settings: "--time" with a value,
// "--face-only" without.
struct ProgramArgument {
  std::string_view name;  // as written, dashes included
  bool takesValue = false;
};

// What a program takes beside --help, --version and --options FILE.
struct ProgramGrammar {
  std::span<const ProgramArgument> own;
  // The names of the settings it takes; every setting when empty.
  std::span<const std::string_view> settings;
  bool syncStatus = false;  // --sync-status
};

// The clock's: every setting, and --sync-status.
inline constexpr ProgramGrammar kClockGrammar{{}, {}, true};

struct CommandLine {
  enum class Action { Run, Help, Version, SyncStatus };
  Action action = Action::Run;
  std::optional<std::string> optionsFile;
  std::vector<CommandLineSetting> settings;  // in the order given; a later one wins
  std::vector<CommandLineSetting> own;       // the program's own arguments, in order; name with its dashes
  std::vector<std::string> problems;         // unknown or incomplete arguments, one line each
  std::vector<std::string> refused;          // those arguments as given, in the same order

  bool operator==(const CommandLine&) const = default;
};

// Every program reads its arguments alike: "--name=value", or "--name value"
// where the next argument is the value even when it starts with '-' ("-0-0"
// is a geometry); an on/off setting may also stand alone ("--countdown" is
// "--countdown=on") when no value follows it. Never fails: an argument it
// does not know is a problem to report, so a stray argument from a launcher
// cannot stop the clock. Values of settings are checked later, with those of
// the file.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const ProgramGrammar& grammar = kClockGrammar);

// "halyard 1.1.0", "halyard-options 1.1.0": the version is the project's.
std::string VersionText(std::string_view program);

// The settings table as --help lines: name, accepted values, default, help.
std::string SettingsHelp();

// The clock's usage text. `placesText` is DescribeOptionsPlaces for the platform.
std::string ClockUsage(std::string_view placesText);

}  // namespace halyard
