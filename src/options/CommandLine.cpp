#include "options/CommandLine.h"

#include <algorithm>

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

// The program's own argument `arg` names, alone or with "=value" after it.
const ProgramArgument* FindOwn(const ProgramGrammar& grammar, std::string_view arg) {
  for (const ProgramArgument& own : grammar.own) {
    if (arg == own.name) return &own;
    if (own.takesValue && own.name.starts_with(kLongPrefix) && arg.starts_with(own.name) &&
        arg.size() > own.name.size() && arg[own.name.size()] == '=') {
      return &own;
    }
  }
  return nullptr;
}

bool Takes(const ProgramGrammar& grammar, std::string_view setting) {
  return grammar.settings.empty() ||
         std::find(grammar.settings.begin(), grammar.settings.end(), setting) != grammar.settings.end();
}

bool IsSwitch(const SettingDefinition& setting) {
  return std::holds_alternative<bool ClockSettings::*>(setting.field);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const ProgramGrammar& grammar) {
  CommandLine result;
  const auto refuse = [&result](const std::string& arg, std::string problem) {
    result.problems.push_back(std::move(problem));
    result.refused.push_back(arg);
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasNext = i + 1 < args.size();
    const CommandLine::Action action = arg == "--help" || arg == "-h" ? CommandLine::Action::Help
                                       : arg == "--version"            ? CommandLine::Action::Version
                                       : arg == "--sync-status" && grammar.syncStatus
                                           ? CommandLine::Action::SyncStatus
                                           : CommandLine::Action::Run;
    if (action != CommandLine::Action::Run) {
      if (result.action == CommandLine::Action::Run) result.action = action;
      continue;
    }
    if (const ProgramArgument* own = FindOwn(grammar, arg)) {
      if (!own->takesValue) {
        result.own.push_back({std::string(own->name), "", arg});
      } else if (arg.size() > own->name.size()) {
        result.own.push_back({std::string(own->name), arg.substr(own->name.size() + 1), arg});
      } else if (hasNext) {
        result.own.push_back({std::string(own->name), args[i + 1], arg + " " + args[i + 1]});
        ++i;
      } else {
        refuse(arg, Quoted(arg) + " needs a value: ignored");
      }
      continue;
    }
    std::string_view body = arg;
    if (arg == kSingleDashGeometry || arg.starts_with(std::string(kSingleDashGeometry) + "=")) {
      body.remove_prefix(1);
    } else if (arg.starts_with(kLongPrefix) && arg.size() > kLongPrefix.size()) {
      body.remove_prefix(kLongPrefix.size());
    } else {
      refuse(arg, "unknown argument " + Quoted(arg) + ": ignored");
      continue;
    }
    const std::size_t equals = body.find('=');
    const std::string name(body.substr(0, equals));
    const bool isOptions = name == "options";
    const SettingDefinition* setting = Takes(grammar, name) ? FindSetting(name) : nullptr;
    if (!isOptions && setting == nullptr) {
      refuse(arg, "unknown argument " + Quoted(arg) + ": ignored");
      continue;
    }
    std::string value;
    std::string given = arg;
    if (equals != std::string_view::npos) {
      value = std::string(body.substr(equals + 1));
    } else if (setting != nullptr && IsSwitch(*setting) && (!hasNext || args[i + 1].starts_with("-"))) {
      value = kSwitchOn;
    } else if (hasNext) {
      value = args[++i];
      given += " " + value;
    } else {
      refuse(arg, Quoted(arg) + " needs a value: ignored");
      continue;
    }
    if (isOptions) {
      if (value.empty()) refuse(arg, Quoted(given) + " names no file: ignored");
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
         "                  (status 0 synchronised, 1 not synchronised, 2 unknown);\n"
         "                  with ntp-server set, also the offset one burst measures\n"
         "                  (status 1 when it is beyond offset-limit)\n"
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
