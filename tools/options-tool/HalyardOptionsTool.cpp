// halyard-options: shows how the clock reads an options file and what in it
// looks wrong. Exit code 0 when clean, 1 with warnings, 2 when the file cannot
// be read or the command line is wrong.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "options/ClockOptions.h"
#include "app/ClockStartup.h"
#include "app/SecondTime.h"
#include "options/ClockSettings.h"
#include "options/ColorValue.h"
#include "options/CommandLine.h"
#include "options/OptionsFileSearch.h"
#include "options/OptionsReport.h"
#include "options/Reporter.h"
#include "platform/time/TimeZone.h"
#include "platform/window/DialogUnits.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/ProgramArguments.h"
#include "platform/window/StatusTextMeasure.h"


namespace {

using halyard::OptionsFileSource;

// A setting's value as it would be written in the file.
std::string ValueText(const halyard::SettingDefinition& setting, const halyard::ClockSettings& settings) {
  struct Write {
    const halyard::SettingDefinition& s;
    const halyard::ClockSettings& v;
    std::string operator()(std::string halyard::ClockSettings::*m) const {
      // The default as the table writes it ("off"); a text of the user's in quotes.
      if ((v.*m).empty() || v.*m == s.defaultText) return halyard::DefaultValueText(s);
      return "\"" + halyard::EscapeOptionText(v.*m) + "\"";
    }
    std::string operator()(double halyard::ClockSettings::*m) const {
      char text[32];
      std::snprintf(text, sizeof text, "%g", v.*m);
      return text;
    }
    std::string operator()(bool halyard::ClockSettings::*m) const { return v.*m ? "on" : "off"; }
    std::string operator()(halyard::AlertMode halyard::ClockSettings::*m) const {
      return std::string(s.choices[static_cast<std::size_t>(v.*m)]);
    }
  };
  return std::visit(Write{setting, settings}, setting.field);
}

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitFailure = 2;

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
      "usage: halyard-options [--options FILE | FILE]\n"
      "       halyard-options --color TEXT...\n"
      "       halyard-options --help | --version\n"
      "\n"
      "Shows the nine options and the settings as the clock reads them from an\n"
      "options file, what each means, and warnings about texts that are probably\n"
      "mistakes, with their line numbers. Bytes that do not print are shown as \\xNN.\n"
      "--color prints the number each TEXT gives as a colour, one per line.\n"
      "\n"
      "Without FILE it reads the file the clock reads without --options, and\n"
      "prints which one and every place it looked; the first that exists of:\n"
      "%s"
      "The clock's folder is this tool's folder when the clock program is\n"
      "there (installed), else the folder above it (a build tree).\n"
      "\n"
      "Exit status: 0 no warnings, 1 warnings, 2 the file cannot be read or\n"
      "the command line is wrong. A missing file is not an error: the clock\n"
      "then uses its defaults, and those are shown.\n",
      halyard::DescribeOptionsPlaces(halyard::PlatformOptionsSearch().userPlaces).c_str());
}

void PrintLooked(const std::vector<std::string>& looked) {
  if (looked.empty()) return;
  std::printf("Looked in, in order:\n");
  for (const std::string& place : looked) std::printf("  %s\n", halyard::PrintablePath(place).c_str());
}

void PrintSettings(const halyard::SettingsReading& reading) {
  std::printf("\nSettings (lines after the ninth; the command line can override them):\n");
  for (std::size_t i = 0; i < halyard::kSettings.size(); ++i) {
    const halyard::SettingDefinition& setting = halyard::kSettings[i];
    std::string value = "default";
    if (reading.fileLine[i] != 0) value = "line " + std::to_string(reading.fileLine[i]);
    std::printf("  %-18s %s (%s)\n", std::string(setting.name).c_str(), ValueText(setting, reading.settings).c_str(),
                value.c_str());
  }
  // What the second time would show now, as its tooltip line says it.
  const halyard::ClockSettings& settings = reading.settings;
  if (settings.secondTime != halyard::kSecondTimeOff) {
    halyard::SecondTime second(halyard::PlatformTimeZone(settings.secondTime), settings.secondTime,
                               settings.secondTimeLabel);
    second.Read(std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
    std::printf("  second time now: %s\n", second.TooltipLine().c_str());
  }
}

void PrintReport(const std::string& path, const std::vector<std::string>& looked, bool absent,
                 const halyard::OptionsReport& report) {
  std::printf("Options file: %s\n", path.empty() ? "none found" : halyard::PrintablePath(path).c_str());
  if (absent) std::printf("  not found: the clock uses its defaults, shown here\n");
  PrintLooked(looked);
  std::printf("\n");
  for (std::size_t i = 0; i < halyard::ClockOptions::kLineCount; ++i) {
    const std::string text = i < report.linesInFile ? "\"" + halyard::EscapeOptionText(report.options.Line(i)) + "\""
                                                    : "(missing: empty)";
    std::printf("%zu %-16s %s\n", i + 1, std::string(halyard::kOptionNames[i]).c_str(), text.c_str());
    std::printf("    %s\n", report.meanings[i].c_str());
  }
  PrintSettings(report.settings);
  if (report.warnings.empty()) {
    std::printf("\nNo warnings.\n");
    return;
  }
  std::printf("\n%zu warning%s:\n", report.warnings.size(), report.warnings.size() == 1 ? "" : "s");
  for (const auto& warning : report.warnings) {
    if (warning.line == 0) std::printf("  file: %s\n", warning.message.c_str());
    else if (warning.line > halyard::ClockOptions::kLineCount) std::printf("  line %zu: %s\n", warning.line, warning.message.c_str());
    else std::printf("  line %zu (%s): %s\n", warning.line, std::string(halyard::kOptionNames[warning.line - 1]).c_str(),
                     warning.message.c_str());
  }
}

// The status line is the window's width: 220 dialog units, 330 pixels at 96 dpi.
std::optional<halyard::StatusWidthLimit> StatusLineWidth(bool utf8Text = false) {
  auto measure = halyard::MakeStatusTextMeasure(halyard::kDefaultDpi, utf8Text);
  if (!measure) return std::nullopt;
  halyard::StatusWidthLimit limit;
  limit.measure = measure;
  limit.maxPixels = halyard::DialogUnits::ForDpi(halyard::kDefaultDpi).ToPixelsX(halyard::kWindowWidthUnits);
  limit.showsAsUtf8 = halyard::ShowsAsUtf8;
  limit.missingGlyphs = halyard::MakeMissingGlyphs(halyard::kDefaultDpi, utf8Text);
  return limit;
}

int ShowFile(const halyard::OptionsFileLocation& location) {
  std::string bytes;
  const std::string path = location.path;
  const auto status = location.path.empty() ? OptionsFileSource::ReadResult::Absent
                                            : halyard::FetchOptionsFile(path, halyard::PlatformOptionsFile(), bytes);
  switch (status) {
    case OptionsFileSource::ReadResult::Absent:
      PrintReport(location.fromCommandLine ? path : std::string(), location.looked, true,
                  halyard::ReportOnOptions(halyard::DefaultClockOptions(), halyard::ClockOptions::kLineCount, StatusLineWidth()));
      return kExitClean;
    case OptionsFileSource::ReadResult::Unreadable:
      halyard::Reporter::Report("cannot read " + halyard::PrintablePath(path) + "; the clock would use its defaults");
      return kExitFailure;
    case OptionsFileSource::ReadResult::Read:
      break;
  }
  const bool utf8Text = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const halyard::OptionsReport report =
      halyard::ReportOnOptionsFile(bytes, StatusLineWidth(utf8Text), &halyard::PlatformKnowsTimeZone);
  PrintReport(path, location.looked, false, report);
  return report.warnings.empty() ? kExitClean : kExitWarnings;
}

halyard::OptionsFileLocation GivenFile(const std::string& path) {
  halyard::OptionsFileLocation location;
  location.path = path;
  location.fromCommandLine = true;  // nothing else is looked at
  return location;
}

int Run(std::vector<std::string> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    PrintUsage(stdout);
    return kExitClean;
  }
  if (!args.empty() && args[0] == "--version") {
    std::printf("%s\n", halyard::VersionText("halyard-options").c_str());
    return kExitClean;
  }
  if (!args.empty() && args[0] == "--color") {
    for (std::size_t i = 1; i < args.size(); ++i) std::printf("%d\n", static_cast<int>(halyard::ColorValue(args[i])));
    return kExitClean;
  }
  // "--options FILE", "--options=FILE" and "-- FILE" all name the file, even one starting with '-'.
  if (!args.empty() && args[0].starts_with("--options=")) {
    args[0].erase(0, std::string_view("--options=").size());
    args.insert(args.begin(), "--");
  }
  const bool named = !args.empty() && (args[0] == "--" || args[0] == "--options");
  if (!named && !args.empty() && args[0].size() > 1 && args[0][0] == '-') {
    halyard::Reporter::Report("unknown option " + halyard::EscapeOptionText(args[0]));
    PrintUsage(stderr);
    return kExitFailure;
  }
  const std::size_t first = named ? 1 : 0;
  if (args.size() > first + 1 || (args.size() == first && args.size() == 1 && args[0] == "--options")) {
    PrintUsage(stderr);
    return kExitFailure;
  }
  return ShowFile(args.size() > first ? GivenFile(args[first]) : halyard::LocateClockOptionsFileFromTool());
}

}  // namespace

int main(int argc, char** argv) {
  // Judge unmarked texts and glyphs in the locale the clock runs in, not in "C".
  std::setlocale(LC_CTYPE, "");
  halyard::Reporter::SetProgram("halyard-options");
  return Run(halyard::ProgramArguments(argc, argv));
}
