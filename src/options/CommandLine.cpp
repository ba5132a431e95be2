#include "options/CommandLine.h"

#include "options/ClockSettings.h"
#include "options/OptionsReport.h"

#ifndef HALYARD_VERSION
#error "HALYARD_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace halyard {

namespace {

constexpr std::string_view kLongPrefix = "--";
// X programs take -geometry with one dash; launchers and habits pass it so.
constexpr std::string_view kSingleDashGeometry = "-geometry";

std::string Quoted(std::string_view argument) { return "'" + EscapeOptionText(argument) + "'"; }

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasNext = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      if (result.action == CommandLine::Action::Run) result.action = CommandLine::Action::Help;
      continue;
    }
    if (arg == "--version") {
      if (result.action == CommandLine::Action::Run) result.action = CommandLine::Action::Version;
      continue;
    }
    if (arg == "--sync-status") {
      if (result.action == CommandLine::Action::Run) result.action = CommandLine::Action::SyncStatus;
      continue;
    }
    std::string_view body = arg;
    if (arg == kSingleDashGeometry || arg.starts_with(std::string(kSingleDashGeometry) + "=")) {
      body.remove_prefix(1);
    } else if (arg.starts_with(kLongPrefix) && arg.size() > kLongPrefix.size()) {
      body.remove_prefix(kLongPrefix.size());
    } else {
      result.problems.push_back("unknown argument " + Quoted(arg) + ": ignored");
      continue;
    }
    const std::size_t equals = body.find('=');
    const std::string name(body.substr(0, equals));
    const bool isOptions = name == "options";
    if (!isOptions && FindSetting(name) == nullptr) {
      result.problems.push_back("unknown argument " + Quoted(arg) + ": ignored");
      continue;
    }
    std::string value;
    std::string given = arg;
    if (equals != std::string_view::npos) {
      value = std::string(body.substr(equals + 1));
    } else if (hasNext) {
      // The next argument is the value even when it starts with '-': "-0-0" is a geometry.
      value = args[++i];
      given += " " + value;
    } else {
      result.problems.push_back(Quoted(arg) + " needs a value: ignored");
      continue;
    }
    if (isOptions) {
      if (value.empty()) result.problems.push_back(Quoted(given) + " names no file: ignored");
      else result.optionsFile = value;
    } else {
      result.settings.push_back({name, value, given});
    }
  }
  return result;
}

std::string VersionText(std::string_view program) { return std::string(program) + " " + HALYARD_VERSION; }

std::string SettingsHelp() {
  std::string out;
  for (const SettingDefinition& setting : kSettings) {
    out += "  --" + std::string(setting.name) + "=VALUE\n";
    out += "      " + std::string(setting.help) + "\n";
    out += "      values: " + AcceptedValues(setting) + "; default: " + DefaultValueText(setting) + "\n";
  }
  return out;
}

std::string ClockUsage(std::string_view placesText) {
  return "usage: halyard [--options FILE] [--NAME=VALUE | --NAME VALUE]...\n"
         "       halyard --help | --version | --sync-status\n"
         "\n"
         "A UTC station clock that marks the maritime silent periods.\n"
         "\n"
         "  --options FILE  read the options from FILE and no other file\n"
         "  --help          print this text and exit\n"
         "  --version       print the version and exit\n"
         "  --sync-status   print whether the system clock is synchronised and exit\n"
         "                  (status 0 synchronised, 1 not synchronised, 2 unknown)\n"
         "\n"
         "Without --options the first of these files that exists is read:\n" +
         std::string(placesText) +
         "\n"
         "Settings, also written NAME=VALUE on the lines after the ninth of the\n"
         "options file (the command line wins):\n" +
         SettingsHelp() +
         "\n"
         "An unknown argument or a bad value is reported on stderr and ignored.\n";
}

}  // namespace halyard
